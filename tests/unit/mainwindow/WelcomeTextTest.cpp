#include <gtest/gtest.h>

#include "mainwindow/WelcomeText.h"

namespace hc {
namespace {

TEST(HtmlToText, KeepsTheWordsInReadableLinesAndDropsWhatIsNeverShown) {
    const std::wstring page =
        L"<!DOCTYPE html><html><head><title>Page title</title><style>p { color: red; }</style></head>\n"
        L"<body><h1>Welcome</h1>\n<p>Hides   your\n  windows &amp; more: &lt;Ctrl&gt;+&quot;Space&quot;&#33;</p>"
        L"<script>alert('x')</script><ul><li>one</li>\n<li> two <b>bold</b></li></ul>line<br>next"
        L"<!-- a note --><p>A &bogus; entity &#xZZ; stays</p></body></html>";
    EXPECT_EQ(HtmlToText(page),
              L"Welcome\r\n\r\nHides your windows & more: <Ctrl>+\"Space\"!\r\n\r\n"
              L"\u2022 one\r\n\u2022 two bold\r\n\r\nline\r\nnext\r\n\r\nA &bogus; entity &#xZZ; stays\r\n");
}

TEST(HtmlToText, AnUnclosedTagEndsTheTextAndAnEmptyPageGivesNothing) {
    EXPECT_EQ(HtmlToText(L""), L"");
    EXPECT_EQ(HtmlToText(L"<p>kept</p><a href='x"), L"kept\r\n");
}

}  // namespace
}  // namespace hc
