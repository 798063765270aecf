#include "languages/dialogs/language_dialogs.h"

#include "languages/dialogs/language_form.h"
#include "languages/dialogs/syntax_scheme_edit_form.h"
#include "languages/text_source.h"

namespace tarnwick {

void InstallLanguageDialogs(TTextSource& source) {
    source.Dialogs.LanguageDialog = [](TTextSource&, TColorValue fontColor, TColorValue backColor,
                                       TLanguageManager& manager, const std::string& languageKey) {
        return TLanguageForm::Execute(manager, fontColor, backColor, languageKey);
    };
    source.Dialogs.SchemeEditor = [](TTextSource&, TColorValue fontColor, TColorValue backColor,
                                     TSyntaxScheme& scheme) {
        return TSyntaxSchemeEditForm::Execute(nullptr, fontColor, backColor, scheme);
    };
}

}  // namespace tarnwick
