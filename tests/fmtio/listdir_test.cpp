// List-directed input over a fake record source.
#include "fmtio/listdir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "fmtio/errors.h"

namespace fmtio {
namespace {

// Records of a statement, handed out through one buffer that each record
// overwrites, as the statement's record buffer is: a value kept as a view
// into an earlier record would read the wrong characters.
class FakeSource : public RecordSource {
 public:
  explicit FakeSource(std::vector<std::string> records, int endStatus = kErrEndOfFile)
      : records_(std::move(records)), endStatus_(endStatus) {
    if (!records_.empty()) buffer_ = records_[0];
  }
  std::string_view first() const { return buffer_; }
  int nextRecord(std::string_view& record) override {
    if (next_ >= records_.size()) return endStatus_;
    buffer_.assign(records_[next_++]);
    record = buffer_;
    return 0;
  }

 private:
  std::vector<std::string> records_;
  int endStatus_;
  std::size_t next_ = 1;
  std::string buffer_;
};

std::string show(const std::vector<std::string>& records) {
  std::string s;
  for (const std::string& r : records) s += "«" + r + "»";
  return s;
}

constexpr std::int32_t kKeep = -99;  // an item's value before the READ

struct IntegerRow {
  std::vector<std::string> records;
  std::size_t items;
  std::vector<std::int32_t> want;
  int status;
};

std::ostream& operator<<(std::ostream& os, const IntegerRow& r) {
  return os << show(r.records) << " into " << r.items << " INTEGER*4";
}

// Reads INTEGER*4 items in order until one fails; the status of that one.
int readIntegers(const IntegerRow& row, std::vector<std::int32_t>& got) {
  FakeSource source(row.records);
  ListReader reader(source, source.first());
  got.assign(row.items, kKeep);
  for (std::int32_t& item : got)
    if (int status = reader.read(ItemType::Integer4, &item, sizeof item)) return status;
  return 0;
}

void checkIntegerRows(const std::vector<IntegerRow>& rows) {
  for (const IntegerRow& row : rows) {
    std::vector<std::int32_t> got;
    EXPECT_EQ(readIntegers(row, got), row.status) << row;
    EXPECT_EQ(got, row.want) << row;
  }
}

TEST(ListInput, IntegerValuesAndSeparators) {
  checkIntegerRows({
      {{"  42  "}, 1, {42}, 0},
      {{"-7"}, 1, {-7}, 0},
      {{"1950  1.234"}, 1, {1950}, 0},
      {{"1\t2,3 , 4"}, 4, {1, 2, 3, 4}, 0},
      {{"-2147483648 2147483647"}, 2, {-2147483647 - 1, 2147483647}, 0},
      {{"4x2"}, 1, {kKeep}, kErrIllegalChar},
      {{"1.0"}, 1, {kKeep}, kErrIllegalChar},
      {{"+"}, 1, {kKeep}, kErrIllegalChar},
      {{"2147483648"}, 1, {kKeep}, kErrIllegalChar},
      {{"'5'"}, 1, {kKeep}, kErrIllegalChar},
  });
}

TEST(ListInput, EndOfRecordsIsEndOfFile) {
  checkIntegerRows({
      {{""}, 1, {kKeep}, kErrEndOfFile},
      {{"   "}, 1, {kKeep}, kErrEndOfFile},
      {{"1 2"}, 3, {1, 2, kKeep}, kErrEndOfFile},
      {{"3*7"}, 4, {7, 7, 7, kKeep}, kErrEndOfFile},
  });
}

TEST(ListInput, RepeatCounts) {
  checkIntegerRows({
      {{"3*7"}, 2, {7, 7}, 0},
      {{"3*7 8"}, 4, {7, 7, 7, 8}, 0},
      {{"2*5", "6"}, 3, {5, 5, 6}, 0},
      {{"2*,4"}, 3, {kKeep, kKeep, 4}, 0},
      {{"2* 4"}, 3, {kKeep, kKeep, 4}, 0},
      {{"2*", "4"}, 3, {kKeep, kKeep, 4}, 0},
      {{"2*", ",4"}, 3, {kKeep, kKeep, 4}, 0},
      {{"1*9,2"}, 2, {9, 2}, 0},
      {{"0*5"}, 1, {kKeep}, kErrIllegalChar},
      {{"99999999999*5"}, 1, {kKeep}, kErrIllegalChar},
      {{"2*x"}, 1, {kKeep}, kErrIllegalChar},
  });
}

TEST(ListInput, NullValuesLeaveItemsUnchanged) {
  checkIntegerRows({
      {{"5,,9"}, 2, {5, kKeep}, 0},
      {{"5,,9"}, 3, {5, kKeep, 9}, 0},
      {{",5"}, 2, {kKeep, 5}, 0},
      {{" , ,3"}, 3, {kKeep, kKeep, 3}, 0},
      {{"1,"}, 2, {1, kKeep}, kErrEndOfFile},
  });
}

// A value ending a record has that record end as its separator: a comma
// opening the next record is not a second one.
TEST(ListInput, FirstCommaOfRecordAfterValueAtRecordEnd) {
  checkIntegerRows({
      {{"1", ",2"}, 2, {1, 2}, 0},
      {{"1  ", "  ,2"}, 2, {1, 2}, 0},
      {{"1", "", ",2"}, 2, {1, 2}, 0},
      {{"1", ",,2"}, 3, {1, kKeep, 2}, 0},
      {{"1,", ",2"}, 3, {1, kKeep, 2}, 0},
      {{"1 ,", ",2"}, 3, {1, kKeep, 2}, 0},
      {{",", ",2"}, 3, {kKeep, kKeep, 2}, 0},
      {{"1 2", "3"}, 3, {1, 2, 3}, 0},
  });
}

TEST(ListInput, SlashEndsTheInput) {
  checkIntegerRows({
      {{"5/"}, 2, {5, kKeep}, 0},
      {{"5 / 6"}, 3, {5, kKeep, kKeep}, 0},
      {{"5,/"}, 2, {5, kKeep}, 0},
      {{"/", "5"}, 2, {kKeep, kKeep}, 0},
      {{"5", "/"}, 2, {5, kKeep}, 0},
      {{"2*/"}, 3, {kKeep, kKeep, kKeep}, 0},
  });
}

struct CharacterRow {
  std::vector<std::string> records;
  std::size_t length;
  std::vector<std::string> want;  // items in order, each `length` long
  int status;
};

std::ostream& operator<<(std::ostream& os, const CharacterRow& r) {
  return os << show(r.records) << " into CHARACTER*" << r.length;
}

TEST(ListInput, CharacterValues) {
  std::vector<CharacterRow> rows = {
      {{"'It''s'"}, 8, {"It's    "}, 0},
      {{"\"say \"\"hi\"\"\""}, 10, {"say \"hi\"  "}, 0},
      {{"\"It's\""}, 5, {"It's "}, 0},
      {{"''"}, 3, {"   "}, 0},
      {{"''''"}, 2, {"' "}, 0},
      {{"'a, b/c'"}, 7, {"a, b/c "}, 0},
      {{"'abcdef'"}, 3, {"abc"}, 0},
      {{"abc,def ghi/jkl"}, 3, {"abc", "def", "ghi", "###"}, 0},
      {{"'ab", "cd'"}, 6, {"abcd  "}, 0},
      {{"'ab", "", "cd'"}, 6, {"abcd  "}, 0},
      {{"'ab'", ",'cd'"}, 2, {"ab", "cd"}, 0},
      {{"'ab',", ",'cd'"}, 2, {"ab", "##", "cd"}, 0},
      {{"2*'x y'"}, 3, {"x y", "x y"}, 0},
      {{"2*ab", "cd"}, 2, {"ab", "ab", "cd"}, 0},
      {{"'abc"}, 4, {"####"}, kErrEndOfFile},
  };
  for (const CharacterRow& row : rows) {
    FakeSource source(row.records);
    ListReader reader(source, source.first());
    std::vector<std::string> got(row.want.size(), std::string(row.length, '#'));
    int status = 0;
    for (std::string& item : got) {
      if ((status = reader.read(ItemType::Character, item.data(), item.size())) != 0) break;
    }
    EXPECT_EQ(status, row.status) << row;
    EXPECT_EQ(got, row.want) << row;
  }
}

TEST(ListInput, RealValues) {
  struct {
    std::vector<std::string> records;
    std::vector<float> want;
    int status;
  } rows[] = {
      {{"1.5e2"}, {150.0f}, 0},
      {{"3"}, {3.0f}, 0},
      {{"1,5"}, {1.0f}, 0},
      {{"1,5"}, {1.0f, 5.0f}, 0},
      {{"-.25 1.5D1 2*1E-1"}, {-0.25f, 15.0f, 0.1f, 0.1f}, 0},
      {{"12345"}, {12345.0f}, 0},  // no implied decimal point
      {{"-INF"}, {-std::numeric_limits<float>::infinity()}, 0},
      {{"1.5x"}, {-1.0f}, kErrIllegalChar},
      {{"1e39"}, {-1.0f}, kErrIllegalChar},
  };
  for (const auto& row : rows) {
    FakeSource source(row.records);
    ListReader reader(source, source.first());
    std::vector<float> got(row.want.size(), -1.0f);
    int status = 0;
    for (float& item : got)
      if ((status = reader.read(ItemType::Real4, &item, sizeof item)) != 0) break;
    EXPECT_EQ(status, row.status) << show(row.records);
    EXPECT_EQ(got, row.want) << show(row.records);
  }
}

TEST(ListInput, LogicalValues) {
  FakeSource source({".TRUE. F t .f. ,, TRUE"});
  ListReader reader(source, source.first());
  std::int32_t got[6] = {kKeep, kKeep, kKeep, kKeep, kKeep, kKeep};
  for (std::int32_t& item : got) ASSERT_EQ(reader.read(ItemType::Logical4, &item, 4), 0);
  EXPECT_EQ(std::vector<std::int32_t>(got, got + 6),
            (std::vector<std::int32_t>{1, 0, 1, 0, kKeep, 1}));
}

// A year and a value from one record, as the data readers take lines apart.
TEST(ListInput, MixedItemsFromOneRecord) {
  FakeSource source({"  1950  1.234 -3 'ok' 2.5d0 T"});
  ListReader reader(source, source.first());
  std::int32_t year = 0;
  float value = 0;
  std::int8_t small = 0;
  char text[4];
  double wide = 0;
  std::int16_t flag = 0;
  ASSERT_EQ(reader.read(ItemType::Integer4, &year, 4), 0);
  ASSERT_EQ(reader.read(ItemType::Real4, &value, 4), 0);
  ASSERT_EQ(reader.read(ItemType::Integer1, &small, 1), 0);
  ASSERT_EQ(reader.read(ItemType::Character, text, sizeof text), 0);
  ASSERT_EQ(reader.read(ItemType::Real8, &wide, 8), 0);
  ASSERT_EQ(reader.read(ItemType::Logical2, &flag, 2), 0);
  EXPECT_EQ(year, 1950);
  EXPECT_EQ(value, 1.234f);
  EXPECT_EQ(small, -3);
  EXPECT_EQ(std::string(text, 4), "ok  ");
  EXPECT_EQ(wide, 2.5);
  EXPECT_EQ(flag, 1);
}

TEST(ListInput, SmallIntegersAreRangeChecked) {
  FakeSource source({"127 128 -32768 32768"});
  ListReader reader(source, source.first());
  std::int8_t b = 0;
  std::int16_t h = 0;
  EXPECT_EQ(reader.read(ItemType::Integer1, &b, 1), 0);
  EXPECT_EQ(b, 127);
  EXPECT_EQ(reader.read(ItemType::Integer1, &b, 1), kErrIllegalChar);
  EXPECT_EQ(b, 127);
  EXPECT_EQ(reader.read(ItemType::Integer2, &h, 2), 0);
  EXPECT_EQ(h, -32768);
  EXPECT_EQ(reader.read(ItemType::Integer2, &h, 2), kErrIllegalChar);
  EXPECT_EQ(h, -32768);
}

TEST(ListInput, ComplexValuesInParentheses) {
  FakeSource source({"(1.5, -2) 2*( 3 ,", " 4E1 )"});
  ListReader reader(source, source.first());
  float c8[2] = {0, 0};
  double c16[2] = {0, 0};
  double again[2] = {0, 0};
  ASSERT_EQ(reader.read(ItemType::Complex8, c8, sizeof c8), 0);
  ASSERT_EQ(reader.read(ItemType::Complex16, c16, sizeof c16), 0);
  ASSERT_EQ(reader.read(ItemType::Complex16, again, sizeof again), 0);
  EXPECT_EQ(c8[0], 1.5f);
  EXPECT_EQ(c8[1], -2.0f);
  EXPECT_EQ(c16[0], 3.0);
  EXPECT_EQ(c16[1], 40.0);
  EXPECT_EQ(again[1], 40.0);

  FakeSource bare({"1.5"});
  ListReader noParens(bare, bare.first());
  EXPECT_EQ(noParens.read(ItemType::Complex8, c8, sizeof c8), kErrIllegalChar);
}

// An item the reader cannot fill is refused before any value is taken.
TEST(ListInput, UnsupportedItemsDoNotConsumeValues) {
  FakeSource source({"7 8"});
  ListReader reader(source, source.first());
  std::int32_t item = kKeep;
  char wide[16] = {};
  EXPECT_EQ(reader.read(ItemType::None, &item, 4), kErrInternal);
  EXPECT_EQ(reader.read(ItemType::Real16, wide, sizeof wide), kErrTypeMismatch);
  EXPECT_EQ(reader.read(ItemType::Integer4, &item, 2), kErrTypeMismatch);
  EXPECT_EQ(item, kKeep);
  EXPECT_EQ(reader.read(ItemType::Integer4, &item, 4), 0);
  EXPECT_EQ(item, 7);
}

TEST(ListInput, SourceErrorsArePassedOn) {
  constexpr int kDiskError = 5;
  FakeSource source({"1", "'open"}, kDiskError);
  ListReader reader(source, source.first());
  std::int32_t item = 0;
  char text[8];
  EXPECT_EQ(reader.read(ItemType::Integer4, &item, 4), 0);
  EXPECT_EQ(reader.read(ItemType::Character, text, sizeof text), kDiskError);
}

}  // namespace
}  // namespace fmtio
