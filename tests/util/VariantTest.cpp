#include <gtest/gtest.h>

#include <clocale>

#include "kvl/Error.h"
#include "kvl/Variant.h"

using namespace kvl;

namespace {
// The number of the kvl::Error that f throws; 0 when it throws none.
int32_t ErrorOf(auto&& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}
}  // namespace

TEST(Variant, ConvertsTextAndNumbersRoundingHalvesToEvenOrReportsWhyNot) {
    EXPECT_EQ(Variant(" 7 ").ToInt32(), 7);
    EXPECT_EQ(Variant(2.5).ToInt16(), 2);
    EXPECT_EQ(Variant(3.5).ToInt16(), 4);
    EXPECT_EQ(Variant(-2.5).ToInt32(), -2);
    EXPECT_EQ(Variant(true).ToInt16(), -1);
    EXPECT_DOUBLE_EQ(Variant("1.25").ToDouble(), 1.25);
    EXPECT_TRUE(Variant("True").ToBool());
    EXPECT_FALSE(Variant("0").ToBool());
    EXPECT_EQ(Variant(false).ToString(), "False");
    EXPECT_EQ(Variant(3.4e27).ToString(), "3.4E+27");
    EXPECT_EQ(Variant(0.5).ToString(), "0.5");
    // Overflow and type mismatch.
    EXPECT_EQ(ErrorOf([] { Variant(int32_t{40000}).ToInt16(); }), kOverflow);
    EXPECT_EQ(ErrorOf([] { Variant(32767.5).ToInt16(); }), kOverflow);
    EXPECT_EQ(ErrorOf([] { Variant(32767.4).ToInt16(); }), 0);
    EXPECT_EQ(ErrorOf([] { Variant("3000000000").ToInt32(); }), kOverflow);
    EXPECT_EQ(ErrorOf([] { Variant("abc").ToInt16(); }), kTypeMismatch);
    EXPECT_EQ(ErrorOf([] { Variant("").ToDouble(); }), kTypeMismatch);
}

// Numbers in text use "." whatever locale the process has set (a Qt program sets the
// user's, where the separator may be ",").
TEST(Variant, NumbersInTextIgnoreTheProcessLocale) {
    ASSERT_TRUE(std::setlocale(LC_ALL, "pt_PT.UTF-8")) << "scripts/deps generates pt_PT.UTF-8";
    double read = Variant("+1.5").ToDouble();
    std::string written = Variant(1.5).ToString();
    int32_t comma = ErrorOf([] { Variant("1,5").ToDouble(); });
    std::setlocale(LC_ALL, "C");
    EXPECT_DOUBLE_EQ(read, 1.5);
    EXPECT_EQ(written, "1.5");
    EXPECT_EQ(comma, kTypeMismatch);
    EXPECT_EQ(ErrorOf([] { Variant("1e999").ToDouble(); }), kOverflow);
}
