#include "bets/sort_key.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

TEST(BetSortKey, KeysByBetType) {
    const struct {
        const char16_t* selection;
        const char16_t* type;
        const char* key;
    } cases[] = {
        {u"5", u"単勝", "0005"},     {u" 12 ", u"複勝", "0012"},   {u"1-2", u"枠連", "0012"},
        {u"1-8", u"枠連  ", "0018"}, {u"5-5", u"枠", "0055"},      {u"05-12", u"馬連", "0512"},
        {u"5-12", u"馬連", "0512"},  {u"01-02", u"ワイド", "0102"}, {u"03-11", u"拡連", "0311"},
        {u"3", u"三連複", "0000"},   {u"", u"", "0000"},           {u"", u"枠連", "0000"},
        {u"", u"馬連", "0000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BetSortKey(c.selection, c.type), QString::fromLatin1(c.key))
            << QString::fromUtf16(c.type).toStdString() << " " << QString::fromUtf16(c.selection).toStdString();
    }
}

}  // namespace
}  // namespace zm
