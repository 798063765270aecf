#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "languages/attr_item.h"
#include "languages/prepared_scheme.h"
#include "languages/syntax_block.h"

namespace tarnwick {

class TSyntaxParser;

// Raised when a scheme file opened but its text is not a valid scheme; the message is the one
// the user sees.
class TSchemeReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A language's syntax scheme: the blocks that cut a line into token classes and the text
// styles they are painted with. The prepared lookup data is derived, never stored.
class TSyntaxScheme {
public:
    TSyntaxScheme();
    // A scheme belongs to at most one highlighter; copies go through Assign.
    TSyntaxScheme(const TSyntaxScheme&) = delete;
    TSyntaxScheme& operator=(const TSyntaxScheme&) = delete;

    std::string Name;
    std::vector<TSyntaxBlock> SyntaxBlocks;  // index 0 is the root block
    TFontList FontTable;
    int SyntaxVersion = 1;

    void Clear();
    // Copies the stored content, then prepares: through the owning highlighter's reset when
    // there is one, else by the scheme's own preparation.
    void Assign(const TSyntaxScheme& other);
    void UpgradeVersion();
    void Tidy();

    // Throws TSchemeReadError with the user's message when the text is not a scheme, and
    // std::system_error when the file cannot be opened. On failure the scheme is unchanged.
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;

    // The text form of a scheme file; ReadFromText throws TObjectStreamError on a syntax fault
    // and leaves the scheme unchanged.
    void ReadFromText(std::string_view text);
    [[nodiscard]] std::string WriteToText() const;

    // Equality of the stored content (what a file round trip has to keep).
    [[nodiscard]] bool SameContentAs(const TSyntaxScheme& other) const;

    // Upgrade, reset of the block stack, and the lookup data the highlighter parses with.
    void Prepare();
    [[nodiscard]] TPreparedScheme& Prepared() noexcept { return prepared_; }
    [[nodiscard]] const TPreparedScheme& Prepared() const noexcept { return prepared_; }

    void SetOwner(TSyntaxParser* owner) noexcept { owner_ = owner; }

private:
    void CopyStoredFrom(const TSyntaxScheme& other);

    TSyntaxParser* owner_ = nullptr;
    TPreparedScheme prepared_;
};

}  // namespace tarnwick
