#pragma once
#include <string>
#include <string_view>

namespace hc {

// The readable text of an HTML page, for showing it where no HTML engine exists: tags go, headings, paragraphs,
// list items and line breaks become lines (items marked with a bullet), entities are decoded, runs of spaces
// collapse. Lines end in "\r\n", as an edit box wants them.
std::wstring HtmlToText(std::wstring_view html);

}  // namespace hc
