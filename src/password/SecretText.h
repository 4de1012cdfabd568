#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace hc {

// A typed or plain password: its characters are zeroed (SecureZeroMemory) when it is dropped, emptied or moved
// from, so no copy lingers in freed memory.
class SecretText {
public:
    SecretText() = default;
    explicit SecretText(std::wstring_view text) : text_(text) {}
    // Takes the text over and wipes the source.
    explicit SecretText(std::wstring&& text) noexcept;
    SecretText(SecretText&& other) noexcept;
    SecretText& operator=(SecretText&& other) noexcept;
    SecretText(const SecretText&) = delete;
    SecretText& operator=(const SecretText&) = delete;
    ~SecretText() { Wipe(); }

    std::wstring_view View() const { return text_; }
    bool empty() const { return text_.empty(); }
    // Zeroes every character the buffer holds, then empties it (the buffer itself is kept).
    void Wipe() noexcept;
    // The buffer to read into, at once; the reader works in it in place.
    std::wstring& Buffer() { return text_; }

private:
    std::wstring text_;
};

// The text of an edit box, read straight into a secret.
SecretText SecretWindowText(HWND window);

}  // namespace hc
