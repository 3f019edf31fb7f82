#include "tests/windows/dialog_template_reader.h"

#include <cstring>
#include <stdexcept>
#include <utility>

namespace {

class Cursor {
  public:
    explicit Cursor(std::span<const std::byte> data) : data_(data) {}

    template <class T>
    T read() {
        need(sizeof(T));
        T value;
        std::memcpy(&value, data_.data() + offset_, sizeof(T));
        offset_ += sizeof(T);
        return value;
    }

    std::wstring readString() {
        std::wstring text;
        for (WORD unit = read<WORD>(); unit != 0; unit = read<WORD>())
            text.push_back(static_cast<wchar_t>(unit));
        return text;
    }

    TemplateName readName() {
        const WORD first = read<WORD>();
        if (first == 0) return {};
        if (first == 0xFFFF) return templateOrdinal(read<WORD>());
        std::wstring text(1, static_cast<wchar_t>(first));
        text += readString();
        return templateText(std::move(text));
    }

    void skip(std::size_t count) {
        need(count);
        offset_ += count;
    }

    // Offsets count from the template's start, which the loader keeps aligned.
    void alignToDword() { skip((4 - offset_ % 4) % 4); }

  private:
    void need(std::size_t count) const {
        if (data_.size() - offset_ < count)
            throw std::runtime_error("dialog template ends early at offset " +
                                     std::to_string(offset_));
    }

    std::span<const std::byte> data_;
    std::size_t offset_ = 0;
};

}  // namespace

TemplateName templateOrdinal(WORD ordinal) {
    return {ordinal, {}};
}

TemplateName templateText(std::wstring text) {
    return {0, std::move(text)};
}

DialogTemplate readDialogTemplate(std::span<const std::byte> data) {
    Cursor cursor(data);
    const WORD version = cursor.read<WORD>();
    const WORD signature = cursor.read<WORD>();
    if (version != 1 || signature != 0xFFFF)
        throw std::runtime_error("not an extended dialog template");

    DialogTemplate dialog;
    dialog.helpId = cursor.read<DWORD>();
    dialog.exStyle = cursor.read<DWORD>();
    dialog.style = cursor.read<DWORD>();
    const WORD count = cursor.read<WORD>();
    dialog.x = cursor.read<short>();
    dialog.y = cursor.read<short>();
    dialog.cx = cursor.read<short>();
    dialog.cy = cursor.read<short>();
    dialog.menu = cursor.readName();
    dialog.windowClass = cursor.readName();
    dialog.caption = cursor.readString();
    if (dialog.style & DS_SETFONT) {
        dialog.pointSize = cursor.read<WORD>();
        dialog.weight = cursor.read<WORD>();
        dialog.italic = cursor.read<BYTE>();
        dialog.charset = cursor.read<BYTE>();
        dialog.typeface = cursor.readString();
    }

    for (WORD i = 0; i < count; ++i) {
        cursor.alignToDword();
        TemplateControl control;
        control.helpId = cursor.read<DWORD>();
        control.exStyle = cursor.read<DWORD>();
        control.style = cursor.read<DWORD>();
        control.x = cursor.read<short>();
        control.y = cursor.read<short>();
        control.cx = cursor.read<short>();
        control.cy = cursor.read<short>();
        control.id = cursor.read<DWORD>();
        control.windowClass = cursor.readName();
        control.title = cursor.readName();
        control.extraBytes = cursor.read<WORD>();
        cursor.skip(control.extraBytes);
        dialog.controls.push_back(std::move(control));
    }
    return dialog;
}

std::span<const std::byte> resourceBytes(HMODULE module, LPCSTR type, LPCSTR name, WORD language) {
    HRSRC resource = FindResourceExA(module, type, name, language);
    if (!resource) return {};
    const void* data = LockResource(LoadResource(module, resource));
    if (!data) return {};
    return {static_cast<const std::byte*>(data), SizeofResource(module, resource)};
}
