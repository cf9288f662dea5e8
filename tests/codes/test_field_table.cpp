#include "codes/field_table.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace zm {
namespace {

// The compile-time check of a table, exercised on tables that must be refused.
constexpr auto kInt = int16Field("c", 8);
constexpr Field kSound[] = {textField("a", 0, 2), digitsField("b", 2, 3, 2), kInt, constantField("end", 10, 2)};
constexpr Field kOverlap[] = {textField("a", 0, 4), textField("b", 3, 2)};
constexpr Field kOutOfOrder[] = {textField("b", 4, 2), textField("a", 0, 2)};
constexpr Field kTooLong[] = {textField("a", 0, 2), textField("b", 2, 11)};
constexpr Field kWideInt[] = {Field{"i", 0, 4, 1, FieldKind::Int16LE}};
constexpr Field kEmpty[] = {textField("a", 0, 0)};
constexpr Field kGap[] = {textField("a", 0, 2), textField("b", 6, 2)};

static_assert(fieldTableCoversRecord(kSound, 12));
static_assert(!fieldTableCoversRecord(kSound, 13));
static_assert(!fieldTableIsSound(kOverlap, 12));
static_assert(!fieldTableIsSound(kOutOfOrder, 12));
static_assert(!fieldTableIsSound(kTooLong, 12));
static_assert(!fieldTableIsSound(kWideInt, 12));
static_assert(!fieldTableIsSound(kEmpty, 12));
static_assert(fieldTableIsSound(kGap, 12));

class Sample : public FixedRecord<12, '\0'> {
public:
    using FixedRecord::FixedRecord;
};

// A field is read and written only the way its kind allows; anything else does not compile.
template <class F>
concept ReadsText = requires(const Sample& r, const F& f) { r.text(f); };
template <class F>
concept WritesText = requires(Sample& r, const F& f) { r.setText(f, u"1"); };
template <class F>
concept ReadsNumber = requires(const Sample& r, const F& f) { r.number(f); };
template <class F>
concept ReadsInt16 = requires(const Sample& r, const F& f) { r.int16(f); };
template <class F>
concept WritesRaw = requires(Sample& r, const F& f) { r.setRaw(f, "1"); };
static_assert(ReadsText<TextField> && ReadsText<DigitsField> && !ReadsText<Int16Field> && !ReadsText<ConstantField>);
static_assert(WritesText<TextField> && WritesText<DigitsField> && !WritesText<Int16Field> && !WritesText<ConstantField>);
static_assert(!ReadsNumber<TextField> && ReadsNumber<DigitsField> && !ReadsNumber<Int16Field> && !ReadsNumber<Field>);
static_assert(!ReadsInt16<TextField> && !ReadsInt16<DigitsField> && ReadsInt16<Int16Field> && !ReadsInt16<Field>);
static_assert(WritesRaw<ConstantField> && !WritesRaw<Int16Field>);
// An element or a sub-record's field keeps its kind.
static_assert(std::is_same_v<decltype(int16Field("a", 0, 3).element(2)), Int16Field>);
static_assert(std::is_same_v<decltype(textField("a", 0, 4, 2).inEntry(2, digitsField("d", 1, 2))), DigitsField>);

TEST(FixedRecord, Int16FieldsAreLittleEndianTwosComplement) {
    struct Case {
        std::int16_t value;
        unsigned char lo, hi;
    };
    const Case cases[] = {{0, 0, 0}, {1, 1, 0}, {258, 2, 1}, {-1, 0xFF, 0xFF}, {-32768, 0, 0x80}, {32767, 0xFF, 0x7F}};
    for (const Case& c : cases) {
        Sample r;
        r.setInt16(kInt, c.value);
        EXPECT_EQ(static_cast<unsigned char>(r.bytes()[8]), c.lo);
        EXPECT_EQ(static_cast<unsigned char>(r.bytes()[9]), c.hi);
        EXPECT_EQ(r.int16(kInt), c.value);
    }
}

TEST(FixedRecord, ShortBytesArePaddedWithTheFillAndUnnamedBytesKept) {
    const Sample zero(QByteArrayView("ab"));
    EXPECT_EQ(zero.bytes(), QByteArray("ab\0\0\0\0\0\0\0\0\0\0", 12));
    Sample r(QByteArrayView("xxxxxxxxxxxx"));
    r.setText(kSound[1].element(2), u"7");
    EXPECT_EQ(r.bytes(), QByteArray("xxxxx7  xxxx"));
}

// Text is written as its CP932 form padded with blanks or cut to the field, ASCII or not, and
// the bytes around the field stay.
TEST(FixedRecord, TextFieldsTakeTheirCp932FormPaddedOrCut) {
    const Field field = textField("t", 2, 3);
    const char16_t* values[] = {u"", u"ab", u"abc", u"abcd", u"\u00E9", u"東", u"東京", u"a東", u"ｱｲｳｴ"};
    for (const char16_t* v : values) {
        const QString text = QString::fromUtf16(v);
        Sample r(QByteArrayView("xxxxxxxxxxxx"));
        r.setText(field, text);
        EXPECT_EQ(r.bytes(), "xx" + padSjis(text, 3) + "xxxxxxx") << text.toStdString();
    }
}

}  // namespace
}  // namespace zm
