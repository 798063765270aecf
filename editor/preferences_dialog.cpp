#include "editor/preferences_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "editor/named_control.h"
#include "host/abi/ascii_text.h"
#include "host/abi/parameter_list.h"
#include "host/common_dialog_requests.h"
#include "host/host_processes.h"
#include "host/message_dialog.h"
#include "languages/prepared_scheme.h"
#include "textengine/key_mapping.h"
#include "textengine/view/custom_dc_memo.h"
#include "widgets/color_swatch.h"

namespace tarnwick {

namespace {

using TPrefs = TTextEditorPreferences;

const QString kBlockIndentMessage = "Please enter an integer block indent.";
const QString kMarginMessage = "Please enter an integer margin greater than or equal to 2.";
const QString kTabStopsNotIntegerMessage = "Please enter some integer tab stops seperated by commas.";
const QString kTabStopsOrderMessage = "Tab stops must be in ascending order.";

constexpr int32_t kMinimumMargin = 2;
constexpr int kMaxTextLength = 255;  // the stored texts' limit

// Form geometry in pixels.
constexpr QSize kClientSize{468, 421};
constexpr QRect kPagesRect{5, 5, 458, 380};
constexpr QSize kButtonSize{75, 25};
constexpr int kButtonTop = 391;
constexpr int kCheckHeight = 20;
constexpr int kRowPitch = 25;
constexpr int kFirstRowTop = 10;
constexpr int kLeftColumnX = 20, kLeftColumnWidth = 220;
constexpr int kRightColumnX = 245, kRightColumnWidth = 205;
constexpr int kRadioIndent = 20;
constexpr int kLabelX = 20, kLabelWidth = 125;
constexpr int kFieldX = 150;

struct TCheckRow {
    const char* name;
    const char* caption;
    bool TPrefs::*field;
};

// The left column top to bottom, then the right one.
constexpr int kLeftColumnRows = 12;
constexpr TCheckRow kCheckRows[] = {
    {"AutoIndentCheck", "&Auto indent mode", &TPrefs::AutoIndentMode},
    {"InsertModeCheck", "&Insert mode", &TPrefs::InsertMode},
    {"SmartTabCheck", "S&mart tab", &TPrefs::SmartTab},
    {"BackspaceUnindentsCheck", "Backspace &unindents", &TPrefs::BackspaceUnindents},
    {"UseTabCheck", "Use ta&b character", &TPrefs::UseTabCharacter},
    {"OptimalFillCheck", "Optimal fill", &TPrefs::OptimalFill},
    {"PersistentBlocksCheck", "&Persistent blocks", &TPrefs::PersistentBlocks},
    {"OverwriteBlocksCheck", "Over&write blocks", &TPrefs::OverwriteBlocks},
    {"CursorOnTabsCheck", "Cursor through tabs", &TPrefs::CursorOnTabs},
    {"UseSyntaxHighlightCheck", "Use &syntax highlighting", &TPrefs::SyntaxHighlighting},
    {"VisibleMarginCheck", "&Visible right margin", &TPrefs::VisibleMargin},
    {"UseSpecialSymbolsCheck", "Use special s&ymbols", &TPrefs::UseSpecialSymbols},
    {"CursorBeyondEOLCheck", "Cursor beyond EOL", &TPrefs::CursorBeyondEOL},
    {"CursorBeyondEOFCheck", "Cursor beyond &EOF", &TPrefs::CursorBeyondEOF},
    {"GroupUndoCheck", "&Group undo", &TPrefs::GroupUndo},
    {"OverwriteCursorCheck", "Overwrite cursor as block", &TPrefs::OverwriteCursorAsBlock},
    {"DoubleClickLineCheck", "&Double click line", &TPrefs::DoubleClickLine},
    {"FindTextAtCursorCheck", "Find te&xt at cursor", &TPrefs::FindTextAtCursor},
    {"ShowLineNumbersCheck", "Show &line numbers", &TPrefs::ShowLineNumbers},
    {"DisableDraggingCheck", "Disable dragging", &TPrefs::DisableDragging},
    {"WrapCheck", "Wo&rd wrap", &TPrefs::WordWrap},
};

QRect CheckRect(int index) {
    const bool left = index < kLeftColumnRows;
    const int row = left ? index : index - kLeftColumnRows;
    return {left ? kLeftColumnX : kRightColumnX, kFirstRowTop + row * kRowPitch,
            left ? kLeftColumnWidth : kRightColumnWidth, kCheckHeight};
}

// A dialog makes its first auto-default button the default one, which Enter in any field
// would press; here no button is a default button, so Enter never closes or opens anything.
QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, QPoint at) {
    auto* button = MakeNamed<QPushButton>(parent, name, {at, kButtonSize});
    button->setText(caption);
    button->setAutoDefault(false);
    return button;
}

// A label at the left of the General page, on the row of a field whose top is fieldTop.
void AddFieldLabel(QWidget* page, const char* caption, int fieldTop) {
    auto* label = new QLabel(caption, page);
    label->setGeometry(kLabelX, fieldTop + 3, kLabelWidth, 17);
}

// The whole field as an integer; nothing for blank text, text that is no integer and numbers
// outside 32 bits.
std::optional<int32_t> ReadInteger(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? std::optional<int32_t>(value) : std::nullopt;
}

struct TTabStopEntries {
    enum class TFault { None, NotAnInteger, NotAscending };
    std::vector<int32_t> stops;
    TFault fault = TFault::None;
};

// Comma text (commas or blanks between entries, double quotes grouping) of tab stop columns.
// Each entry must be greater than the one before it, and the first greater than column 0,
// where every line starts: the buffer refuses any other list, and a list it refuses would be
// confirmed here and then silently not applied.
TTabStopEntries ReadTabStopEntries(const QString& text) {
    TTabStopEntries entries;
    int32_t previous = 0;
    for (const std::string& item : SplitCommaText(text.toLatin1().toStdString())) {
        const std::optional<int32_t> stop = ReadInteger(QString::fromLatin1(item));
        if (!stop)
            return {{}, TTabStopEntries::TFault::NotAnInteger};
        if (*stop <= previous)
            return {{}, TTabStopEntries::TFault::NotAscending};
        entries.stops.push_back(*stop);
        previous = *stop;
    }
    return entries;
}

// The buffer splits its tab stops at commas only, so blank-separated or quoted entries are
// stored as a plain comma list; it is never longer than the text it came from.
std::string TabStopsText(const std::vector<int32_t>& stops) {
    std::string text;
    for (const int32_t stop : stops)
        text += (text.empty() ? "" : ",") + std::to_string(stop);
    return text;
}

std::string StoredText(const QString& text) { return text.left(kMaxTextLength).toLatin1().toStdString(); }

// The font dialog chooses family, size and style; colour, pitch and character set stay.
TFontDesc FontFrom(const QFont& chosen, TFontDesc font) {
    constexpr double kPixelsPerPoint = 96.0 / 72.0;  // the screen resolution fonts are kept at
    font.Name = chosen.family().toStdString();
    const double points =
        chosen.pointSizeF() > 0 ? chosen.pointSizeF() : chosen.pixelSize() / kPixelsPerPoint;
    font.Size = static_cast<int32_t>(std::lround(points));
    font.Height = -static_cast<int32_t>(std::lround(font.Size * kPixelsPerPoint));
    font.Style = (chosen.bold() ? fsBold : 0) | (chosen.italic() ? fsItalic : 0) |
                 (chosen.underline() ? fsUnderline : 0) | (chosen.strikeOut() ? fsStrikeOut : 0);
    return font;
}

}  // namespace

TPreferencesDialog::TPreferencesDialog(TTextEditorPreferences& record, QWidget* owner)
    : TServerDialog(owner), record_(record) {
    setObjectName("PreferencesDialog");
    setWindowTitle("Preferences");
    setFixedSize(kClientSize);

    pages_ = MakeNamed<QTabWidget>(this, "PageControl", kPagesRect);
    pages_->addTab(BuildOptionsPage(), "Options");
    generalPage_ = BuildGeneralPage();
    pages_->addTab(generalPage_, "General");
    BuildButtons();

    LoadControls(record_);
}

bool TPreferencesDialog::Show(TTextEditorPreferences& record, QWidget* owner) {
    TPreferencesDialog dialog(record, owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.StoreControls();
    return true;
}

QWidget* TPreferencesDialog::BuildOptionsPage() {
    auto* page = new QWidget;
    page->setObjectName("OptionsPage");
    for (std::size_t i = 0; i < std::size(kCheckRows); ++i) {
        const TCheckRow& row = kCheckRows[i];
        auto* box = MakeNamed<QCheckBox>(page, row.name, CheckRect(static_cast<int>(i)));
        box->setText(row.caption);
        checks_.push_back({box, row.field});
    }
    wrapCheck_ = page->findChild<QCheckBox*>("WrapCheck");
    const QRect wrap = wrapCheck_->geometry();
    const QRect radio(wrap.x() + kRadioIndent, 0, wrap.width() - kRadioIndent, kCheckHeight);
    marginWrapRadio_ =
        MakeNamed<QRadioButton>(page, "MarginWrapRadio", radio.translated(0, wrap.y() + kRowPitch));
    marginWrapRadio_->setText("Wrap at margin");
    windowWrapRadio_ =
        MakeNamed<QRadioButton>(page, "WindowWrapRadio", radio.translated(0, wrap.y() + 2 * kRowPitch));
    windowWrapRadio_->setText("Wrap at window");
    connect(wrapCheck_, &QCheckBox::toggled, this, &TPreferencesDialog::ApplyWrapRule);
    return page;
}

QWidget* TPreferencesDialog::BuildGeneralPage() {
    auto* page = new QWidget;
    page->setObjectName("GeneralPage");

    AddFieldLabel(page, "Key Mapping:", 20);
    keyMapping_ = MakeNamed<QComboBox>(page, "cbKeyMapping", {kFieldX, 20, 200, 22});
    keyMapping_->setEditable(true);
    keyMapping_->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& name : KeyMappingNames())
        keyMapping_->addItem(QString::fromLatin1(name));
    keyMapping_->setCurrentIndex(-1);
    keyMapping_->lineEdit()->setMaxLength(kMaxTextLength);

    AddFieldLabel(page, "Block Indent:", 60);
    blockIndentEdit_ = MakeNamed<QLineEdit>(page, "BlockIndentEdit", {kFieldX, 60, 60, 22});
    AddFieldLabel(page, "Margin width:", 100);
    marginEdit_ = MakeNamed<QLineEdit>(page, "MarginEdit", {kFieldX, 100, 60, 22});
    AddFieldLabel(page, "Tab Stops:", 140);
    tabStopEdit_ = MakeNamed<QLineEdit>(page, "TabStopEdit", {kFieldX, 140, 200, 22});
    tabStopEdit_->setMaxLength(kMaxTextLength);

    AddFieldLabel(page, "Default Background:", 184);
    auto* panel = MakeNamed<QFrame>(page, "BackgroundPanel", {kFieldX, 180, 60, 30});
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    swatch_ =
        MakeNamed<TColorSwatch>(panel, "BackgroundPaintBox", panel->contentsRect().adjusted(2, 2, -2, -2));
    QPushButton* changeBack = MakeButton(page, "ChangeBackButton", "Change...", {220, 182});
    connect(changeBack, &QPushButton::clicked, this, &TPreferencesDialog::ChangeBackgroundColor);

    AddFieldLabel(page, "Current Font:", 232);
    currentFont_ = MakeNamed<QLabel>(page, "txtCurrentFont", {kFieldX, 235, 200, 17});
    QPushButton* changeFont = MakeButton(page, "ChangeFont", "Change...", {kFieldX, 260});
    connect(changeFont, &QPushButton::clicked, this, &TPreferencesDialog::ChangeFont);
    return page;
}

// OK closes the dialog only once the fields are valid.
void TPreferencesDialog::BuildButtons() {
    QPushButton* defaults = MakeButton(this, "DefaultButton", "Default", {224, kButtonTop});
    connect(defaults, &QPushButton::clicked, this, [this] { LoadControls(TTextEditorPreferences{}); });
    connect(MakeButton(this, "OkButton", "OK", {306, kButtonTop}), &QPushButton::clicked, this, [this] {
        if (Validate())
            accept();
    });
    connect(MakeButton(this, "CancelButton", "Cancel", {387, kButtonTop}), &QPushButton::clicked, this,
            &QDialog::reject);
    defaults->setFocus();
}

void TPreferencesDialog::LoadControls(const TTextEditorPreferences& source) {
    for (const TCheckControl& check : checks_)
        check.box->setChecked(source.*check.field);
    (source.WrapAtMargin ? marginWrapRadio_ : windowWrapRadio_)->setChecked(true);
    marginEdit_->setText(QString::number(source.MarginWidth));
    blockIndentEdit_->setText(QString::number(source.BlockIndent));
    tabStopEdit_->setText(QString::fromLatin1(source.TabStops));
    SetDialogFont(source.Font);
    swatch_->SetColor(source.WindowColor);
    // A name that is not listed leaves the box's text as it is.
    const int entry = keyMapping_->findText(QString::fromLatin1(source.KeyMapping),
                                            Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (entry >= 0)
        keyMapping_->setCurrentIndex(entry);
    ApplyWrapRule();
}

void TPreferencesDialog::StoreControls() {
    TTextEditorPreferences& r = record_;
    for (const TCheckControl& check : checks_)
        r.*check.field = check.box->isChecked();
    r.WrapAtMargin = marginWrapRadio_->isChecked();
    // Blank fields leave their values as they were.
    if (const auto margin = ReadInteger(marginEdit_->text()))
        r.MarginWidth = *margin;
    if (const auto indent = ReadInteger(blockIndentEdit_->text()))
        r.BlockIndent = *indent;
    const std::vector<int32_t> stops = ReadTabStopEntries(tabStopEdit_->text()).stops;
    if (!stops.empty())
        r.TabStops = TabStopsText(stops);
    r.Font = font_;
    r.WindowColor = swatch_->Color();
    r.KeyMapping = StoredText(keyMapping_->currentText());
}

bool TPreferencesDialog::Validate() {
    const bool blockIndentBlank = blockIndentEdit_->text().trimmed().isEmpty();
    if (!blockIndentBlank && !ReadInteger(blockIndentEdit_->text())) {
        Refuse(blockIndentEdit_, kBlockIndentMessage);
        return false;
    }
    const std::optional<int32_t> margin = ReadInteger(marginEdit_->text());
    if (!margin || *margin < kMinimumMargin) {
        Refuse(marginEdit_, kMarginMessage);
        return false;
    }
    switch (ReadTabStopEntries(tabStopEdit_->text()).fault) {
        case TTabStopEntries::TFault::None:
            return true;
        case TTabStopEntries::TFault::NotAnInteger:
            Refuse(tabStopEdit_, kTabStopsNotIntegerMessage);
            break;
        case TTabStopEntries::TFault::NotAscending:
            Refuse(tabStopEdit_, kTabStopsOrderMessage);
            break;
    }
    return false;
}

// The fields checked on OK are all on the General page, which may not be the one showing.
void TPreferencesDialog::Refuse(QLineEdit* field, const QString& message) {
    pages_->setCurrentWidget(generalPage_);
    ShowErrorMessage(message);
    // The box belongs to the host window, which may take the activation back when it closes.
    activateWindow();
    field->setFocus();
    field->selectAll();
}

void TPreferencesDialog::ApplyWrapRule() {
    const bool wrapping = wrapCheck_->isChecked();
    marginWrapRadio_->setEnabled(wrapping);
    windowWrapRadio_->setEnabled(wrapping);
}

// The host shows its colour dialog; this one stays disabled meanwhile, so nothing in it can
// change under the request.
void TPreferencesDialog::ChangeBackgroundColor() {
    const QPointer<QWidget> focused = focusWidget();
    setEnabled(false);
    if (const std::optional<TColorValue> chosen = AskHostForColor(swatch_->Color()))
        swatch_->SetColor(*chosen);
    setEnabled(true);
    activateWindow();
    if (focused)
        focused->setFocus();
}

void TPreferencesDialog::ChangeFont() {
    QFontDialog dialog(ToQFont(font_, false), this);
    if (dialog.exec() == QDialog::Accepted)
        SetDialogFont(FontFrom(dialog.selectedFont(), font_));
}

void TPreferencesDialog::SetDialogFont(const TFontDesc& font) {
    font_ = font;
    currentFont_->setText(QString::fromStdString(font.Name) + ", " + QString::number(font.Size) + " pt");
}

}  // namespace tarnwick
