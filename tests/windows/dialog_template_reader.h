#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include <windows.h>

// A name-or-ordinal field of a dialog template: a class, a control title or
// the dialog's menu. An empty text with no ordinal stands for "none".
struct TemplateName {
    WORD ordinal = 0;
    std::wstring text;

    bool operator==(const TemplateName&) const = default;
};

TemplateName templateOrdinal(WORD ordinal);
TemplateName templateText(std::wstring text);

struct TemplateControl {
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    TemplateName windowClass;
    TemplateName title;
    WORD extraBytes = 0;
};

struct DialogTemplate {
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    TemplateName menu;
    TemplateName windowClass;
    std::wstring caption;
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::wstring typeface;
    std::vector<TemplateControl> controls;
};

// Reads an extended dialog template (DLGTEMPLATEEX) as the dialog manager
// lays it out. Throws std::runtime_error, naming the offset, on a template of
// the old kind or on data that ends early.
DialogTemplate readDialogTemplate(std::span<const std::byte> data);

// The bytes of one resource in exactly this language; empty if there is none.
std::span<const std::byte> resourceBytes(HMODULE module, LPCSTR type, LPCSTR name, WORD language);
