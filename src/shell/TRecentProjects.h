#pragma once
// The "Recent projects" list of the File menu: the last projects opened or saved,
// newest first, each once.

#include <string>
#include <vector>

class TRecentProjects {
public:
    static constexpr std::size_t kMaxItems = 8;

    explicit TRecentProjects(std::vector<std::string> items = {});

    // Puts path first; false when the list did not change.
    bool Add(const std::string& path);
    bool Remove(const std::string& path);
    const std::vector<std::string>& Items() const { return items_; }

private:
    std::vector<std::string> items_;
};
