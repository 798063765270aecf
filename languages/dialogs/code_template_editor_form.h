#pragma once
// The code template editor: the templates of one language listed by name and description,
// added (in natural order of their names), renamed and removed, with the selected template's
// code edited directly in a small editor highlighted like the language's documents. Leaving the
// editor, choosing another template and OK all write the code back into its template.

#include <memory>
#include <string>

#include "host/server_dialog.h"
#include "languages/code_templates.h"
#include "languages/syntax_parser.h"
#include "textengine/font_desc.h"
#include "textengine/memo_source.h"

class QPushButton;
class QTableWidget;

namespace tarnwick {

class TDCMemo;

// Names compared with their blanks removed, digit runs as numbers (of up to 8 digits) and other
// runs character by character; negative, 0 or positive.
[[nodiscard]] int CompareTemplateNames(const std::string& a, const std::string& b);

class TCodeTemplateEditorForm : public TServerDialog {
    Q_OBJECT
public:
    TCodeTemplateEditorForm(const TMemoCodeTemplates& templates, TColorValue fontColor, TColorValue backColor,
                            const std::string& languageName, const std::string& schemePath,
                            QWidget* owner = nullptr);
    ~TCodeTemplateEditorForm() override;

    [[nodiscard]] const TMemoCodeTemplates& Templates() const noexcept { return templates_; }

    // Runs it modally; after OK templates holds what was edited and the answer is true.
    static bool Execute(QWidget* owner, TColorValue fontColor, TColorValue backColor,
                        TMemoCodeTemplates& templates, const std::string& languageName,
                        const std::string& schemePath);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void LoadScheme(const std::string& schemePath);
    void Refill(int row);
    void ShowCode(int row);
    void StoreCode();
    [[nodiscard]] int IndexOfName(const std::string& name) const;
    bool MayOverwrite(const std::string& name);

    void AddButtonClick();
    void EditButtonClick();
    void RemoveButtonClick();
    void OkButtonClick();

    TMemoCodeTemplates templates_;
    int shown_ = -1;               // the template whose code the editor holds
    TSyntaxParser TemplateParser;  // outlives the buffer that refers to it
    TMemoSource TemplateSource;
    TDCMemo* TemplateView;
    QTableWidget* CodeStringGrid;
    QPushButton* AddButton;
    QPushButton* EditButton;
    QPushButton* RemoveButton;
};

}  // namespace tarnwick
