#pragma once
// What a list control shows: the rows of a queue, each as the texts of its columns. A list
// reads its rows without touching the queue's record buffer.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/rt/queue.h"

namespace rt {

class ListSource {
 public:
  virtual ~ListSource() = default;
  virtual std::size_t Records() const = 0;
  // Row from 1; the raw field texts in column order (the list's format formats them).
  virtual std::vector<std::string> Cells(std::size_t row) const = 0;
  // Changes whenever the rows change.
  virtual std::uint64_t Version() const = 0;
};

// One cell's text: numbers in decimal, texts as they are.
template <class T>
std::string CellText(const T& value) {
  if constexpr (std::is_arithmetic_v<T>) {
    return std::to_string(+value);
  } else {
    return std::string(value);
  }
}

template <class Row, class CellsOf>
class QueueList final : public ListSource {
 public:
  QueueList(const Queue<Row>& queue, CellsOf cells) : queue_(queue), cells_(std::move(cells)) {}
  std::size_t Records() const override { return queue_.Records(); }
  std::vector<std::string> Cells(std::size_t row) const override { return cells_(queue_.Peek(row)); }
  std::uint64_t Version() const override { return queue_.Version(); }

 private:
  const Queue<Row>& queue_;
  CellsOf cells_;
};

// From(CAB_QUEUE, [](const CabRow& r) { return Columns(r.CabNum, r.UserCab, r.Name); })
template <class Row, class CellsOf>
std::shared_ptr<ListSource> From(const Queue<Row>& queue, CellsOf cells) {
  return std::make_shared<QueueList<Row, CellsOf>>(queue, std::move(cells));
}

template <class... Fields>
std::vector<std::string> Columns(const Fields&... fields) {
  return {CellText(fields)...};
}

}  // namespace rt
