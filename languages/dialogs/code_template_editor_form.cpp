#include "languages/dialogs/code_template_editor_form.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <optional>
#include <vector>

#include "host/abi/parameter_list.h"
#include "host/message_dialog.h"
#include "languages/dialogs/dialog_text.h"
#include "languages/dialogs/dual_line_form.h"
#include "languages/dialogs/list_keys.h"
#include "languages/text_file.h"
#include "textengine/view/dc_memo.h"

namespace tarnwick {

namespace {

constexpr std::size_t kNumberWidth = 8;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The runs of digits and of other characters of a name without its blanks; a digit run is
// padded to kNumberWidth digits (a longer one keeps its last ones), so runs compare as text.
std::vector<std::string> NameRuns(const std::string& name) {
    std::string packed;
    std::copy_if(name.begin(), name.end(), std::back_inserter(packed),
                 [](char c) { return static_cast<unsigned char>(c) > ' '; });
    std::vector<std::string> runs;
    for (std::size_t i = 0; i < packed.size();) {
        std::size_t end = i;
        while (end < packed.size() && IsDigit(packed[end]) == IsDigit(packed[i]))
            ++end;
        std::string run = packed.substr(i, end - i);
        if (IsDigit(run.front()))
            run = run.size() >= kNumberWidth ? run.substr(run.size() - kNumberWidth)
                                             : std::string(kNumberWidth - run.size(), '0') + run;
        runs.push_back(std::move(run));
        i = end;
    }
    return runs;
}

bool SameName(const std::string& a, const std::string& b) { return SameParameterName(a, b); }

QString MessageText(const std::string& bytes) {
    return Latin1Text(bytes).replace(QLatin1Char('&'), QLatin1String("&&"));
}

}  // namespace

int CompareTemplateNames(const std::string& a, const std::string& b) {
    const std::vector<std::string> left = NameRuns(a), right = NameRuns(b);
    for (std::size_t i = 0; i < std::min(left.size(), right.size()); ++i)
        if (const int order = left[i].compare(right[i]); order != 0)
            return order;
    if (left.size() != right.size())
        return left.size() < right.size() ? -1 : 1;
    return a.compare(b);
}

TCodeTemplateEditorForm::TCodeTemplateEditorForm(const TMemoCodeTemplates& templates, TColorValue fontColor,
                                                 TColorValue backColor, const std::string& languageName,
                                                 const std::string& schemePath, QWidget* owner)
    : TServerDialog(owner), templates_(templates) {
    setWindowTitle(Latin1Text(languageName + " Code Templates Editor"));
    setWindowFlag(Qt::WindowMinMaxButtonsHint, false);

    auto* group = Named(new QGroupBox(QStringLiteral("Code Templates"), this), "CodeTemplateListGroup");
    AddButton = Named(new QPushButton(QStringLiteral("&Add..."), group), "AddButton");
    EditButton = Named(new QPushButton(QStringLiteral("&Edit..."), group), "EditButton");
    RemoveButton = Named(new QPushButton(QStringLiteral("&Remove"), group), "RemoveButton");
    connect(AddButton, &QPushButton::clicked, this, &TCodeTemplateEditorForm::AddButtonClick);
    connect(EditButton, &QPushButton::clicked, this, &TCodeTemplateEditorForm::EditButtonClick);
    connect(RemoveButton, &QPushButton::clicked, this, &TCodeTemplateEditorForm::RemoveButtonClick);
    CodeStringGrid = Named(new QTableWidget(0, 2, group), "CodeStringGrid");
    CodeStringGrid->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Type")});
    CodeStringGrid->horizontalHeader()->setObjectName(QStringLiteral("CodeHeader"));
    CodeStringGrid->horizontalHeader()->setStretchLastSection(true);
    CodeStringGrid->verticalHeader()->hide();
    CodeStringGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    CodeStringGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(CodeStringGrid, &QTableWidget::currentCellChanged, this, [this](int row) { ShowCode(row); });
    TListKeys::Install(CodeStringGrid,
                       {WhenEnabled(AddButton), WhenEnabled(RemoveButton), WhenEnabled(EditButton)});
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(AddButton);
    buttons->addWidget(EditButton);
    buttons->addWidget(RemoveButton);
    buttons->addStretch();
    auto* list = new QVBoxLayout(group);
    list->addLayout(buttons);
    list->addWidget(CodeStringGrid);

    TemplateSource.SetOptions(TemplateSource.Options().With(soUseTabCharacter));
    TemplateView = Named(new TDCMemo(this), "TemplateView");
    TemplateView->SetMemoSource(&TemplateSource);
    TFontDesc font = TemplateView->Font();
    font.Color = fontColor;
    TemplateView->SetFont(font);
    TemplateView->Color = backColor;
    TemplateParser.SetDefaultFont(font);
    TemplateParser.SetDefaultBackColor(backColor);
    LoadScheme(schemePath);
    TemplateView->SetSyntaxParser(&TemplateParser);
    TemplateView->installEventFilter(this);
    TemplateView->setMinimumHeight(140);

    auto* closing = OkCancelRow(this, [this] { OkButtonClick(); });
    auto* page = new QVBoxLayout(this);
    page->addWidget(group, 1);
    page->addWidget(TemplateView, 1);
    page->addLayout(closing);
    resize(480, 440);
    Refill(0);
}

// The view holds the buffer and the highlighter by pointer; it goes first.
TCodeTemplateEditorForm::~TCodeTemplateEditorForm() { delete TemplateView; }

bool TCodeTemplateEditorForm::Execute(QWidget* owner, TColorValue fontColor, TColorValue backColor,
                                      TMemoCodeTemplates& templates, const std::string& languageName,
                                      const std::string& schemePath) {
    TCodeTemplateEditorForm form(templates, fontColor, backColor, languageName, schemePath, owner);
    if (form.exec() != QDialog::Accepted)
        return false;
    templates = form.Templates();
    return true;
}

// A scheme that cannot be read leaves the code uncoloured; the user hears why.
void TCodeTemplateEditorForm::LoadScheme(const std::string& schemePath) {
    if (!IsExistingFile(schemePath))
        return;
    try {
        TSyntaxScheme scheme;
        scheme.LoadFromFile(schemePath);
        TemplateParser.SetSyntaxScheme(scheme);
    } catch (const std::exception& error) {
        ShowErrorMessage(PathText(error.what()));
    }
}

void TCodeTemplateEditorForm::showEvent(QShowEvent* event) {
    TServerDialog::showEvent(event);
    CodeStringGrid->setColumnWidth(0, CodeStringGrid->viewport()->width() * 3 / 10);
}

bool TCodeTemplateEditorForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TemplateView && event->type() == QEvent::FocusOut)
        StoreCode();
    return TServerDialog::eventFilter(watched, event);
}

void TCodeTemplateEditorForm::Refill(int row) {
    {
        const QSignalBlocker quiet(CodeStringGrid);
        CodeStringGrid->setRowCount(int(templates_.Count()));
        for (std::size_t i = 0; i < templates_.Count(); ++i) {
            CodeStringGrid->setItem(int(i), 0, new QTableWidgetItem(Latin1Text(templates_[i].Name)));
            CodeStringGrid->setItem(int(i), 1, new QTableWidgetItem(Latin1Text(templates_[i].Description)));
        }
        if (templates_.Count() > 0)
            CodeStringGrid->setCurrentCell(std::clamp(row, 0, int(templates_.Count()) - 1), 0);
    }
    const bool any = templates_.Count() > 0 && !templates_[0].Name.empty();
    CodeStringGrid->setEnabled(any);
    RemoveButton->setEnabled(any);
    EditButton->setEnabled(any);
    TemplateView->setEnabled(any);
    shown_ = -1;
    ShowCode(CodeStringGrid->currentRow());
}

void TCodeTemplateEditorForm::ShowCode(int row) {
    StoreCode();
    shown_ = row >= 0 && row < int(templates_.Count()) ? row : -1;
    TemplateSource.Lines().Assign(shown_ >= 0 ? templates_[std::size_t(shown_)].Code
                                              : std::vector<std::string>());
}

// A text of one empty line is no code at all.
void TCodeTemplateEditorForm::StoreCode() {
    if (shown_ < 0 || shown_ >= int(templates_.Count()))
        return;
    std::vector<std::string> code;
    for (int32_t i = 0; i < TemplateSource.LineCount(); ++i)
        code.emplace_back(TemplateSource.StoredLine(i));
    if (code.size() == 1 && code.front().empty())
        code.clear();
    templates_[std::size_t(shown_)].Code = std::move(code);
}

int TCodeTemplateEditorForm::IndexOfName(const std::string& name) const {
    for (std::size_t i = 0; i < templates_.Count(); ++i)
        if (SameName(templates_[i].Name, name))
            return int(i);
    return -1;
}

bool TCodeTemplateEditorForm::MayOverwrite(const std::string& name) {
    const int existing = IndexOfName(name);
    if (existing < 0)
        return true;
    if (!ConfirmMessage(
            MessageText("Code template " + name + " already exists, do you wish to overwrite it?")))
        return false;
    if (existing == shown_)
        shown_ = -1;
    else if (existing < shown_)
        --shown_;
    templates_.Delete(std::size_t(existing));
    return true;
}

// Names and descriptions are kept without the blanks around them, so that a typed name finds
// its template.
void TCodeTemplateEditorForm::AddButtonClick() {
    StoreCode();
    const std::optional<TDualLineForm::TValues> typed =
        TDualLineForm::Ask("New Code Template", "Name :", "Description :", {}, this);
    if (!typed)
        return;
    TMemoCodeTemplate added{
        std::string(TrimParameterText(typed->Left)), std::string(TrimParameterText(typed->Right)), {}};
    if (!MayOverwrite(added.Name))
        return;
    std::size_t at = 0;
    while (at < templates_.Count() && CompareTemplateNames(templates_[at].Name, added.Name) <= 0)
        ++at;
    shown_ = -1;
    templates_.Insert(at, std::move(added));
    Refill(int(at));
    TemplateView->setFocus();
}

void TCodeTemplateEditorForm::EditButtonClick() {
    StoreCode();
    const int row = CodeStringGrid->currentRow();
    if (row < 0 || row >= int(templates_.Count()))
        return;
    const TMemoCodeTemplate& current = templates_[std::size_t(row)];
    const std::optional<TDualLineForm::TValues> typed = TDualLineForm::Ask(
        "Edit Code Template", "Name :", "Description :", {current.Name, current.Description}, this);
    if (!typed)
        return;
    const std::string name(TrimParameterText(typed->Left));
    int index = row;
    if (!SameName(name, current.Name)) {
        const int other = IndexOfName(name);
        if (other >= 0 && !MayOverwrite(name))
            return;
        if (other >= 0 && other < index)
            --index;
    }
    templates_[std::size_t(index)].Name = name;
    templates_[std::size_t(index)].Description = TrimParameterText(typed->Right);
    shown_ = -1;
    Refill(index);
}

void TCodeTemplateEditorForm::RemoveButtonClick() {
    const int row = CodeStringGrid->currentRow();
    if (row < 0 || row >= int(templates_.Count()))
        return;
    shown_ = -1;
    templates_.Delete(std::size_t(row));
    Refill(row);
}

void TCodeTemplateEditorForm::OkButtonClick() {
    StoreCode();
    accept();
}

}  // namespace tarnwick
