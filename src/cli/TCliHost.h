#pragma once
// The host of tonvek-cli: headless, and every message a desktop user would see is
// written to stderr as "title: text".

#include "ui/THeadlessHost.h"

#include <cstdio>
#include <string>

class TCliHost : public THeadlessHost {
public:
    TMsgAnswer Message(const std::string& text, const std::string& title, TMsgButtons buttons,
                       TMsgIcon icon) override
    {
        std::string t = text;
        for (std::size_t p; (p = t.find("\r\n")) != std::string::npos;)
            t.replace(p, 2, "\n");
        for (std::size_t p = 0; (p = t.find('\n', p)) != std::string::npos; p += 2)
            t.replace(p, 1, "\n  ");
        std::fprintf(stderr, "%s%s%s\n", title.c_str(), title.empty() ? "" : ": ", t.c_str());
        // Questions get "No": a command-line run never saves behind the user's back.
        if (buttons == TMsgButtons::YesNoCancel || buttons == TMsgButtons::YesNo)
            QueueAnswer(TMsgAnswer::No);
        return THeadlessHost::Message(text, title, buttons, icon);
    }
};
