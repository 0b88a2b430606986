#include "TStrEdit.h"

TStrEdit::TStrEdit(std::size_t limit, std::string text) : limit_(limit) { SetText(std::move(text)); }

void TStrEdit::SetLimit(std::size_t limit)
{
    limit_ = limit;
    text_ = Cut(std::move(text_), limit_);
}

void TStrEdit::SetText(std::string text)
{
    text_ = Cut(std::move(text), limit_);
    modified_ = false;
}

bool TStrEdit::Edit(std::string text)
{
    std::string cut = Cut(text, limit_);
    bool whole = cut.size() == text.size();
    if (cut != text_)
        modified_ = true;
    text_ = std::move(cut);
    return whole;
}

std::string TStrEdit::Cut(std::string text, std::size_t limit)
{
    if (text.size() <= limit)
        return text;
    std::size_t end = limit;
    // Step back over continuation bytes (10xxxxxx) so no character is split.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    text.resize(end);
    return text;
}
