// Line-by-line string-list access to a buffer (its Lines property). Reads give the expanded
// line; every put, insert, delete and clear runs in the buffer's safe change bracket and ends
// by clearing the undo and redo lists.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

class TByteStream;
class TCustomMemoSource;

class TExternalStrings {
public:
    explicit TExternalStrings(TCustomMemoSource& source) : source_(source) {}

    int32_t Count() const;
    // The expanded line; empty for an index out of range.
    std::string Get(int32_t index) const;
    void Put(int32_t index, std::string_view text);
    // Inserts before index (index == Count() appends); the caret goes to column 0 of it.
    void Insert(int32_t index, std::string_view text);
    void Add(std::string_view text) { Insert(Count(), text); }
    void Delete(int32_t index);
    void Clear();
    // Bulk loads: replace everything, undo cleared.
    void Assign(const std::vector<std::string>& lines);
    void SetText(std::string_view text);
    // Stored lines joined with CR LF, without a final line end.
    std::string Text() const;
    void LoadFromStream(TByteStream& stream);
    void SaveToStream(TByteStream& stream) const;
    // String lists may exchange items; this one does not.
    void Exchange(int32_t, int32_t) {}

private:
    // Text that comes in: tabs become SpacesInTab spaces unless soUseTabCharacter is set.
    std::string Incoming(std::string_view text) const;
    TCustomMemoSource& source_;
};

}  // namespace tarnwick
