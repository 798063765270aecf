#include "textengine/view/text_styles.h"

namespace tarnwick {

TTextStyles TTextStyles::Defaults() {
    static const char* const kNames[] = {"Whitespace",
                                         "String",
                                         "Comment",
                                         "Identifier",
                                         "Integer",
                                         "Float",
                                         "Reserved words",
                                         "Delimiters",
                                         "Defines",
                                         "Assembler",
                                         "Html tags",
                                         "Html params",
                                         "Url",
                                         "BreakPoint",
                                         "Disabled breakpoint",
                                         "Error line",
                                         "Marked Block",
                                         "Search Match",
                                         "Emphasis",
                                         "System Variable",
                                         "Script Whitespace",
                                         "Script Delimiters",
                                         "Script Comment",
                                         "Script String",
                                         "Script Number",
                                         "Script ResWord"};
    TTextStyles styles;
    for (const char* name : kNames)
        styles.Add(name);
    styles.items_[size_t(styles.IndexOf("Url"))].Font.Color = 0x00FF0000;  // blue links
    return styles;
}

int32_t TTextStyles::IndexOf(const std::string& name) const {
    for (int32_t i = 0; i < Count(); ++i)
        if (items_[size_t(i)].Name == name)
            return i;
    return -1;
}

TTextStyle& TTextStyles::Add(std::string name) {
    TTextStyle& style = items_.emplace_back();
    style.Name = std::move(name);
    return style;
}

void TTextStyles::Set(int32_t index, TTextStyle style) {
    if (index < 0 || index >= Count())
        return;
    if (style.UpdateMemoColors != mcNone) {
        style.UseMemoColor = false;
        style.UseMemoFont = false;
    }
    items_[size_t(index)] = std::move(style);
}

int32_t TTextStyles::Define(TTextStyle style) {
    int32_t index = IndexOf(style.Name);
    if (index < 0) {
        index = Count();
        Add(style.Name);
    }
    Set(index, std::move(style));
    return index;
}

}  // namespace tarnwick
