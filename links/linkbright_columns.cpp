// List column tracking: a link column is known by its number, so when the user drags
// columns into another order the numbers must follow them. SaveFormat remembers each
// column's format text and position; ChangeColumn finds the moved columns and renumbers the
// link rows, through temporary numbers so that no two rows ever share a column.
#include <array>
#include <cstring>

#include "links/link_controls.h"
#include "links/link_text.h"
#include "links/linkbright_class.h"
#include "platform/rt/command.h"
#include "platform/rt/dialogs.h"
#include "platform/rt/props.h"

using namespace links;

namespace {

constexpr int kMoves = 64;
constexpr int kMaxColumns = 1024;
constexpr LONG kFirstTemporary = 1024;
constexpr LONG kLargestOld = 4096;

using MoveTable = std::array<LONG, kMoves + 1>;  // entries 1 to 64

// A table as it travels: 256 bytes, 64 numbers little-endian. A shorter text gives zeros
// for what it lacks.
MoveTable ReadMoveTable(const std::string& bytes) {
  MoveTable table{};
  for (int i = 1; i <= kMoves; ++i) {
    size_t at = static_cast<size_t>(i - 1) * 4;
    ULONG value = 0;
    for (size_t b = 0; b < 4 && at + b < bytes.size(); ++b) {
      value |= static_cast<ULONG>(static_cast<unsigned char>(bytes[at + b])) << (8 * b);
    }
    table[static_cast<size_t>(i)] = static_cast<LONG>(value);
  }
  return table;
}

bool ColumnExists(LONG list, int n) { return Number(list, PROP::ColumnExists, n) != 0; }
std::string ColumnFormat(LONG list, int n) { return Fit(Text(list, PROP::ColumnFormat, n), kFormatWidth); }

}  // namespace

namespace links {
std::string MoveTableBytes(const std::vector<LONG>& numbers) {
  std::string bytes(kMoves * 4, '\0');
  for (size_t i = 0; i < numbers.size() && i < kMoves; ++i) {
    auto value = static_cast<ULONG>(numbers[i]);
    for (size_t b = 0; b < 4; ++b) bytes[i * 4 + b] = static_cast<char>((value >> (8 * b)) & 0xFF);
  }
  return bytes;
}
}  // namespace links

void vrLinkbrightClass::SaveFormat(LONG LinkbrightControl, std::optional<LONG> FreshQueue) {
  if (Disable || !TrackerQ) return;
  const LONG fresh = FreshQueue.value_or(0);
  if (fresh & 2) TrackerQ->Free();
  for (int n = 1; n <= kMaxColumns && ColumnExists(LinkbrightControl, n); ++n) {
    const std::string format = ColumnFormat(LinkbrightControl, n);
    LinkTrackerRow& row = TrackerQ->Buffer();
    row.Control = LinkbrightControl;
    row.OldFormatCol = format;
    if ((fresh & 3) == 0 && TrackerQ->Get(&LinkTrackerRow::Control, &LinkTrackerRow::OldFormatCol)) {
      TrackerQ->Buffer().ColumnNo = n;
      TrackerQ->Put();
    } else {
      row.ColumnNo = n;
      TrackerQ->Add();
    }
  }
}

LONG vrLinkbrightClass::ChangeColumn(LONG LinkbrightControl, std::optional<std::string> OldColumns,
                                     std::optional<std::string> NewColumns, std::optional<LONG> /*Options*/) {
  if (Disable || !ItemQ || !TrackerQ) return 0;
  const LONG list = LinkbrightControl;
  MoveTable oldColumn{}, newColumn{};
  std::array<bool, kMoves + 1> done{};
  std::string trace;

  if (OldColumns && NewColumns) {
    oldColumn = ReadMoveTable(*OldColumns);
    newColumn = ReadMoveTable(*NewColumns);
  } else {
    int k = 1;
    for (int n = 1; k <= kMoves && ColumnExists(list, n); ++n) {
      TrackerQ->Buffer().Control = list;
      TrackerQ->Buffer().ColumnNo = n;
      if (!TrackerQ->Get(&LinkTrackerRow::Control, &LinkTrackerRow::ColumnNo)) break;
      const std::string now = ColumnFormat(list, n);
      if (now == TrackerQ->Buffer().OldFormatCol) continue;
      newColumn[static_cast<size_t>(k)] = n;
      // The column now at n was recorded elsewhere; a format nobody recorded moved nothing.
      TrackerQ->Buffer().OldFormatCol = now;
      oldColumn[static_cast<size_t>(k)] =
          TrackerQ->Get(&LinkTrackerRow::OldFormatCol) ? TrackerQ->Buffer().ColumnNo : 0;
      trace += N(oldColumn[static_cast<size_t>(k)]) + " to " + N(n) + ";";
      ++k;
    }
    trace = "Which Cols: " + trace + "\r\nTemp Change: ";
  }

  auto fetch = [&](LONG column) {
    ItemQ->Buffer().Control = list;
    ItemQ->Buffer().Column = column;
    return ItemQ->Get(&LinkItemRow::Control, &LinkItemRow::Column);
  };
  // Moves of columns that are not link columns change nothing.
  for (int i = 1; i <= kMoves; ++i) {
    LONG& old = oldColumn[static_cast<size_t>(i)];
    if (old > 0 && old <= kLargestOld && !fetch(old)) old = 0;
  }

  bool allFound = true;
  LONG temporary = kFirstTemporary;
  for (int i = 1; i <= kMoves; ++i) {
    LONG& old = oldColumn[static_cast<size_t>(i)];
    if (old <= 0 || old >= kLargestOld) continue;
    if (fetch(old)) {
      ItemQ->Buffer().Column = temporary;
      ItemQ->Put();
      done[static_cast<size_t>(i)] = true;
      trace += N(old) + " to " + N(temporary) + ";";
      old = temporary;
    } else {
      allFound = false;
      old = 0;
    }
    ++temporary;
  }
  trace += "\r\nPerm Change: ";
  for (int i = 1; i <= kMoves; ++i) {
    if (!done[static_cast<size_t>(i)]) continue;
    const LONG target = newColumn[static_cast<size_t>(i)];
    if (!fetch(oldColumn[static_cast<size_t>(i)]) || target == 0) continue;
    LinkItemRow& row = ItemQ->Buffer();
    row.Column = target;
    ItemQ->Put();
    Debug("Color(" + N(row.Column) + "): " + N(row.Bright) + " " + N(row.Normal) + " Style: " + N(row.Style));
    trace += N(oldColumn[static_cast<size_t>(i)]) + " to " + N(target) + ";";
  }
  ItemQ->Sort(&LinkItemRow::Control, &LinkItemRow::Column);

  // The column styles follow the columns.
  for (size_t i = 1; i <= ItemQ->Records(); ++i) {
    if (ItemQ->Peek(i).Control != list) continue;
    ItemQ->Get(i);
    SetControlProperties(list);
  }
  if (!COMMAND("/XPCheck").empty()) STOP(trace);
  return allFound ? 0 : 2;
}
