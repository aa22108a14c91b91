#include <gtest/gtest.h>

#include <string>

#include "platform/rt/error_code.h"
#include "platform/rt/queue.h"

namespace {

struct CabRow {
  long CabNum = 0;
  std::string Name;
};

rt::Queue<CabRow> Filled(std::initializer_list<std::pair<long, const char*>> rows) {
  rt::Queue<CabRow> q;
  for (auto [num, name] : rows) {
    q->CabNum = num;
    q->Name = name;
    q.Add(&CabRow::CabNum);
  }
  return q;
}

std::string Names(const rt::Queue<CabRow>& q) {
  std::string out;
  for (std::size_t i = 1; i <= q.Records(); ++i) out += q.Peek(i).Name + (i < q.Records() ? "," : "");
  return out;
}

TEST(QueueKeyedAdd, KeepsOrderAndPutsEqualKeysAfterTheirEquals) {
  auto q = Filled({{5, "e"}, {1, "a"}, {3, "c1"}, {3, "c2"}, {9, "i"}, {3, "c3"}});
  EXPECT_EQ(Names(q), "a,c1,c2,c3,e,i");
  // The row just added is the current row.
  EXPECT_EQ(q.Pointer(), 4u);
  EXPECT_EQ(q->Name, "c3");
}

TEST(QueueCurrentRow, EveryOperationLeavesTheTouchedRow) {
  auto q = Filled({{1, "a"}, {2, "b"}, {3, "c"}});

  ASSERT_TRUE(q.Get(2));
  EXPECT_EQ(q->Name, "b");
  EXPECT_EQ(q.Pointer(), 2u);

  q->CabNum = 3;
  ASSERT_TRUE(q.Get(&CabRow::CabNum));
  EXPECT_EQ(q->Name, "c");
  EXPECT_EQ(q.Pointer(), 3u);

  q->Name = "C";
  ASSERT_TRUE(q.Put());
  EXPECT_EQ(q.Peek(3).Name, "C");

  // A failed read leaves the buffer and the current row alone.
  q->CabNum = 42;
  EXPECT_FALSE(q.Get(&CabRow::CabNum));
  EXPECT_EQ(ERRORCODE(), ERRORS::EntryNotFound);
  EXPECT_EQ(q->Name, "C");
  EXPECT_EQ(q.Pointer(), 3u);
  EXPECT_FALSE(q.Get(0));
  EXPECT_FALSE(q.Get(4));

  q.Add();  // appends the buffer as it stands
  EXPECT_EQ(q.Records(), 4u);
  EXPECT_EQ(q.Pointer(), 4u);

  ASSERT_TRUE(q.Get(1));
  ASSERT_TRUE(q.Delete());
  EXPECT_EQ(q->Name, "a");  // the deleted row stays in the buffer
  EXPECT_EQ(q.Pointer(), 0u);
  EXPECT_FALSE(q.Put());   // no current row to write over
  EXPECT_FALSE(q.Delete());
  EXPECT_EQ(Names(q), "b,C,C");

  q.Free();
  EXPECT_EQ(q.Records(), 0u);
  EXPECT_EQ(q.Pointer(), 0u);
  EXPECT_EQ(q->Name, "a");
}

TEST(QueueGetByKey, FindsTheFirstOfEqualKeys) {
  auto q = Filled({{3, "x"}, {3, "y"}, {1, "a"}});
  q->CabNum = 3;
  ASSERT_TRUE(q.Get(&CabRow::CabNum));
  EXPECT_EQ(q->Name, "x");
  EXPECT_EQ(q.Pointer(), 2u);
}

TEST(QueueSort, IsStableAndTakesDescendingKeys) {
  rt::Queue<CabRow> q;
  for (auto [num, name] : {std::pair{2L, "b1"}, {1L, "a"}, {2L, "b2"}, {3L, "c"}}) {
    q->CabNum = num;
    q->Name = name;
    q.Add();
  }
  q.Sort(rt::Descending{&CabRow::CabNum});
  EXPECT_EQ(Names(q), "c,b1,b2,a");
  q.Sort([](const CabRow& a, const CabRow& b) { return a.Name.compare(b.Name); });
  EXPECT_EQ(Names(q), "a,b1,b2,c");
  EXPECT_TRUE(q.Add(1));
  EXPECT_FALSE(q.Add(7));
}

TEST(QueueVersion, ChangesWithEveryChangeOfTheRows) {
  rt::Queue<CabRow> q;
  auto v = q.Version();
  q.Add();
  EXPECT_NE(q.Version(), v);
  v = q.Version();
  q.Get(1);
  EXPECT_EQ(q.Version(), v);
  q.Put();
  EXPECT_NE(q.Version(), v);
}

}  // namespace
