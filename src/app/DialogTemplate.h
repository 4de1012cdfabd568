#pragma once
#include <windows.h>

#include <vector>

namespace hc {

// An in-memory dialog template: a dialog gets the system dialog class and keyboard handling without a resource
// script. Items use the predefined class ordinals or a class name.
class DialogTemplate {
public:
    static constexpr WORD kButton = 0x0080;
    static constexpr WORD kEdit = 0x0081;
    static constexpr WORD kStatic = 0x0082;

    DialogTemplate(DWORD style, DWORD exStyle, short width, short height, const wchar_t* title) {
        Dword(style | DS_SETFONT);
        Dword(exStyle);
        countAt_ = words_.size();
        words_.push_back(0);
        Rect(0, 0, width, height);
        words_.push_back(0);  // no menu
        words_.push_back(0);  // the system dialog class
        Text(title);
        words_.push_back(8);
        Text(L"MS Shell Dlg");
    }

    void Item(WORD classOrdinal, const wchar_t* text, int id, DWORD style, short x, short y, short width,
              short height) {
        ItemHead(id, style, x, y, width, height);
        words_.push_back(0xFFFF);
        words_.push_back(classOrdinal);
        ItemTail(text);
    }

    void Item(const wchar_t* className, const wchar_t* text, int id, DWORD style, short x, short y, short width,
              short height) {
        ItemHead(id, style, x, y, width, height);
        Text(className);
        ItemTail(text);
    }

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void ItemHead(int id, DWORD style, short x, short y, short width, short height) {
        if (words_.size() % 2) words_.push_back(0);  // items start on a DWORD boundary
        ++words_[countAt_];
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        Rect(x, y, width, height);
        words_.push_back(static_cast<WORD>(id));
    }
    void ItemTail(const wchar_t* text) {
        Text(text);
        words_.push_back(0);  // no creation data
    }
    void Dword(DWORD value) {
        words_.push_back(LOWORD(value));
        words_.push_back(HIWORD(value));
    }
    void Rect(short x, short y, short width, short height) {
        for (short value : {x, y, width, height}) words_.push_back(static_cast<WORD>(value));
    }
    void Text(const wchar_t* text) {
        for (; *text; ++text) words_.push_back(static_cast<WORD>(*text));
        words_.push_back(0);
    }

    std::vector<WORD> words_;
    size_t countAt_ = 0;
};

}  // namespace hc
