#include "TProjectFactory.h"

#include "box/TClosedBox.h"
#include "ui/TProject.h"

TProjectFactory TProjectFactory::Standard()
{
    TProjectFactory factory;
    // Project types register here as they are built.
    factory.Register(TClosedBox::kTypeCode, [](THost& host) { return std::make_unique<TClosedBox>(host); });
    return factory;
}

std::unique_ptr<TProject> TProjectFactory::Create(int typeCode, THost& host) const
{
    auto it = makers_.find(typeCode);
    if (it == makers_.end())
        return nullptr;
    return it->second(host);
}
