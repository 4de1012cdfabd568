#include "mainwindow/WelcomeText.h"

#include <cwctype>

namespace hc {

namespace {
std::wstring TagName(std::wstring_view tag) {
    size_t at = tag.starts_with(L'/') ? 1 : 0;
    std::wstring name;
    while (at < tag.size() && std::iswalnum(tag[at])) name += static_cast<wchar_t>(std::towlower(tag[at++]));
    return name;
}

bool IsBlock(const std::wstring& name) {
    for (const wchar_t* block :
         {L"p",  L"div", L"h1",    L"h2",    L"h3",      L"h4",     L"h5",     L"h6", L"li", L"ul",
          L"ol", L"tr",  L"table", L"title", L"section", L"header", L"footer", L"dt", L"dd", L"dl"})
        if (name == block) return true;
    return false;
}

std::wstring Entity(std::wstring_view name) {
    if (name == L"amp") return L"&";
    if (name == L"lt") return L"<";
    if (name == L"gt") return L">";
    if (name == L"quot") return L"\"";
    if (name == L"apos") return L"'";
    if (name == L"nbsp") return L" ";
    if (name.starts_with(L'#') && name.size() > 1) {
        const bool hex = name[1] == L'x' || name[1] == L'X';
        try {
            const unsigned long code = std::stoul(std::wstring(name.substr(hex ? 2 : 1)), nullptr, hex ? 16 : 10);
            if (code > 0 && code < 0xD800) return std::wstring(1, static_cast<wchar_t>(code));
        } catch (...) {
            // Not a number: the text stays as written below.
        }
    }
    return {};
}

// Builds lines: one pending space at most, blank lines at most one in a row.
class Lines {
public:
    void Text(wchar_t c) {
        if (std::iswspace(c)) {
            space_ = !line_.empty() && !line_.ends_with(L' ');
            return;
        }
        if (space_) line_ += L' ';
        space_ = false;
        line_ += c;
    }
    // Text kept as it is, spaces included.
    void Literal(std::wstring_view text) {
        if (space_) line_ += L' ';
        space_ = false;
        line_ += text;
    }
    void Break(bool paragraph) {
        if (!line_.empty()) {
            out_ += line_ + L"\r\n";
            line_.clear();
            blank_ = false;
        }
        if (paragraph && !blank_ && !out_.empty()) {
            out_ += L"\r\n";
            blank_ = true;
        }
        space_ = false;
    }
    std::wstring Done() {
        Break(false);
        while (out_.ends_with(L"\r\n\r\n")) out_.resize(out_.size() - 2);
        return out_;
    }

private:
    std::wstring out_;
    std::wstring line_;
    bool space_ = false;
    bool blank_ = false;
};
}  // namespace

std::wstring HtmlToText(std::wstring_view html) {
    Lines lines;
    std::wstring skipUntil;  // the closing tag that ends a part never shown (head, script, style)
    for (size_t i = 0; i < html.size();) {
        if (html[i] == L'<') {
            const size_t end = html.find(L'>', i);
            if (end == std::wstring_view::npos) break;
            const std::wstring_view tag = html.substr(i + 1, end - i - 1);
            i = end + 1;
            if (tag.starts_with(L"!")) continue;  // comments and the document type
            const std::wstring name = TagName(tag);
            const bool closing = tag.starts_with(L'/');
            if (!skipUntil.empty()) {
                if (closing && name == skipUntil) skipUntil.clear();
                continue;
            }
            if (!closing && (name == L"head" || name == L"script" || name == L"style")) {
                skipUntil = name;
                continue;
            }
            if (name == L"br") {
                lines.Break(false);
            } else if (name == L"li" && !closing) {
                lines.Break(false);
                lines.Literal(L"\u2022 ");
            } else if (IsBlock(name)) {
                lines.Break(name != L"li" && name != L"tr");
            }
            continue;
        }
        if (!skipUntil.empty()) {
            ++i;
            continue;
        }
        if (html[i] == L'&') {
            const size_t end = html.find(L';', i);
            if (end != std::wstring_view::npos && end - i <= 10) {
                const std::wstring decoded = Entity(html.substr(i + 1, end - i - 1));
                if (!decoded.empty()) {
                    lines.Literal(decoded);
                    i = end + 1;
                    continue;
                }
            }
        }
        lines.Text(html[i++]);
    }
    return lines.Done();
}

}  // namespace hc
