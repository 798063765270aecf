#pragma once
// The document's search side panel. It keeps a history of the texts searched for and a list of
// the lines found, but never touches the text itself: a search or a jump is a request to the
// host ("TextEdit:UpdateFoundInstanceList", "TextEdit:JumpToLineFromPanel") with the bound
// editor view as context, and the host has the document's window carry it out with the
// panel's controls (TFoundListUpdate, SelectedFoundLine). Without a bound view nothing is sent.
//
// The history and the found list live as long as the panel and are not stored.

#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/abi/com_ptr.h"
#include "host/abi/document_interfaces.h"

class QCheckBox;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;

namespace tarnwick {

class TFoundLineModel;
class TLatin1Edit;
class TUniformListView;

class TTextPanel : public QWidget {
public:
    explicit TTextPanel(QWidget* owner = nullptr);

    [[nodiscard]] IServerDocumentView* BoundView() const noexcept { return boundView_.Get(); }
    // Binding another view re-runs the selected history entry's search for it, then asks the
    // host to update its location marks. The same view again, or none, sends nothing.
    void SetBoundView(IServerDocumentView* view);

    // What the found list is built from: the search box as typed (cut to 255 characters, not
    // trimmed) and the three option boxes.
    struct TSearch {
        std::string Text;
        bool CaseSensitive = false;
        bool WholeWordsOnly = false;
        bool RegularExpr = false;
    };
    [[nodiscard]] TSearch FoundListSearch() const;

    // Refills the found list. Made, it notes the selected entry, disables the list and empties
    // it; Add appends the lines found, in ascending order. When it goes, after the search or
    // because the search threw, the list shows what was found, is enabled again, and selects
    // the noted entry if that line is still listed.
    class TFoundListUpdate {
    public:
        explicit TFoundListUpdate(TTextPanel& panel);
        ~TFoundListUpdate();
        TFoundListUpdate(const TFoundListUpdate&) = delete;
        TFoundListUpdate& operator=(const TFoundListUpdate&) = delete;
        void Add(int32_t line) { lines_.push_back(line); }

    private:
        TTextPanel& panel_;
        std::optional<int32_t> selectedLine_;
        std::vector<int32_t> lines_;
    };

    // The 1-based line of the selected found entry, or nullopt.
    [[nodiscard]] std::optional<int32_t> SelectedFoundLine() const;
    [[nodiscard]] TFoundLineModel& FoundLines() const noexcept { return *foundLines_; }

    // The controls, top to bottom.
    QLabel* Label1;
    QFrame* SearchForBevel;
    QLabel* Label2;
    TLatin1Edit* ebSearchText;
    QPushButton* butSearch;
    QPushButton* butClear;
    QLabel* Image1;
    QLabel* Label3;
    QFrame* SearchResultsBevel;
    QListWidget* lbSearchHistoryList;
    TUniformListView* lbFoundInstanceList;
    QPushButton* butGoto;
    QLabel* Label4;
    QFrame* SearchOptionsBevel;
    QCheckBox* chkCaseSensitive;
    QCheckBox* chkWholeWord;
    QCheckBox* chkRegularExpression;
    QCheckBox* chkDoAllTextDocument;  // shown only: the search does not consult it

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateControls();
    void ConnectControls();
    void butSearchClick();
    void butClearClick();
    void lbSearchHistoryListClick();
    void lbSearchHistoryListKeyDown();
    // Found entry click, key in the found list, butGoto.
    void JumpRequested();
    // Selects the history entry equal to text ignoring case, inserting it at the top if none is.
    void SelectInHistory(const std::string& text);
    [[nodiscard]] std::optional<std::string> SelectedHistoryEntry() const;
    void SelectFoundLine(int32_t line);
    void Request(const char* process);

    // Counted, so the view lives as long as the panel may use it; nothing of it refers back.
    TComPtr<IServerDocumentView> boundView_;
    TFoundLineModel* foundLines_;  // a child
};

}  // namespace tarnwick
