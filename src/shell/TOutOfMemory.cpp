#include "TOutOfMemory.h"

#include "ui/THost.h"

#include <cstdlib>
#include <new>

namespace {
THost* gHost = nullptr;

void Handler()
{
    if (!gHost || !TOutOfMemory::AskRetry(*gHost))
        std::_Exit(3);
}
} // namespace

namespace TOutOfMemory {

bool AskRetry(THost& host)
{
    return host.Message("Free memory and try again", "Out of memory", TMsgButtons::RetryCancel, TMsgIcon::Error) ==
           TMsgAnswer::Retry;
}

void Install(THost& host)
{
    gHost = &host;
    std::set_new_handler(Handler);
}

void Uninstall()
{
    std::set_new_handler(nullptr);
    gHost = nullptr;
}

} // namespace TOutOfMemory
