#include "shell/TRecentProjects.h"

#include <algorithm>

TRecentProjects::TRecentProjects(std::vector<std::string> items)
{
    // A stored list may hold duplicates, empty entries or too many; it is read as Adds.
    for (auto it = items.rbegin(); it != items.rend(); ++it)
        Add(*it);
}

bool TRecentProjects::Add(const std::string& path)
{
    if (path.empty() || (!items_.empty() && items_.front() == path))
        return false;
    Remove(path);
    items_.insert(items_.begin(), path);
    if (items_.size() > kMaxItems)
        items_.resize(kMaxItems);
    return true;
}

bool TRecentProjects::Remove(const std::string& path)
{
    auto it = std::find(items_.begin(), items_.end(), path);
    if (it == items_.end())
        return false;
    items_.erase(it);
    return true;
}
