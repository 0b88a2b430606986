#include "TProjectFactory.h"

#include "box/TBoxEmbryo.h"
#include "box/TBoxType.h"
#include "filter/TXover.h"
#include "ui/TProject.h"

TProjectFactory TProjectFactory::Standard()
{
    TProjectFactory factory;
    // Every box type built so far, from its description.
    for (const TBoxType* type : TBoxTypes::All())
        factory.Register(type->typeCode,
                         [make = type->make](THost& host, TProgramContext& context) -> std::unique_ptr<TProject> {
                             return make(host, context);
                         });
    for (int code : {15, 16, 20, 21, 22, 23, 25, 26, 27, 28})
        factory.Register(code, [kind = TXover::KindOfTypeCode(code)](THost& host, TProgramContext& context)
                                   -> std::unique_ptr<TProject> { return std::make_unique<TXover>(host, context, kind); });
    return factory;
}

std::unique_ptr<TProject> TProjectFactory::Create(int typeCode, THost& host, TProgramContext& context) const
{
    auto it = makers_.find(typeCode);
    if (it == makers_.end())
        return nullptr;
    return it->second(host, context);
}
