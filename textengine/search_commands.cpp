// The buffer's search operations: each runs one command of TSearchEngine over the shared options.
#include "textengine/custom_memo_source.h"
#include "textengine/search_dialogs.h"
#include "textengine/search_engine.h"

namespace tarnwick {

bool TCustomMemoSource::FindNext(int32_t& length) { return TSearchEngine(*this).FindNext(length); }
bool TCustomMemoSource::Replace() { return TSearchEngine(*this).Replace(); }
void TCustomMemoSource::SearchFirst() { TSearchEngine(*this).SearchFirst(); }
void TCustomMemoSource::ReplaceFirst() { TSearchEngine(*this).ReplaceFirst(); }
void TCustomMemoSource::SearchAgain() { TSearchEngine(*this).SearchAgain(); }
void TCustomMemoSource::ReplaceAgain() { TSearchEngine(*this).ReplaceAgain(); }
void TCustomMemoSource::ToggleCaseSensitive() { TSearchEngine(*this).ToggleCaseSensitive(); }
void TCustomMemoSource::ToggleRegularExpr() { TSearchEngine(*this).ToggleRegularExpr(); }
void TCustomMemoSource::FindDialog() { TSearchEngine(*this).FindDialog(); }
void TCustomMemoSource::ReplaceDialog() { TSearchEngine(*this).ReplaceDialog(); }
bool TCustomMemoSource::GotoLineDialog() { return TSearchEngine(*this).GotoLineDialog(); }

std::unique_ptr<TSearchOptionsDialog> TCustomMemoSource::CreateFindDialog() {
    return searchDialogs_ ? searchDialogs_->CreateFindDialog(*this) : nullptr;
}

std::unique_ptr<TSearchOptionsDialog> TCustomMemoSource::CreateReplaceDialog() {
    return searchDialogs_ ? searchDialogs_->CreateReplaceDialog(*this) : nullptr;
}

}  // namespace tarnwick
