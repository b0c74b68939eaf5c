#include "core/ui_text.h"

#include <gtest/gtest.h>

namespace orb {
namespace {

TEST(FillTemplate, PlacesArgumentsByNumberAndLeavesTheRest) {
    struct Case {
        const char* tmpl;
        std::initializer_list<std::string_view> args;
        const char* expected;
    };
    const Case cases[] = {
        {"串口%1已打开", {"3"}, "串口3已打开"},
        {"%2 of %1", {"7", "5"}, "5 of 7"},
        {"%1%1", {"x"}, "xx"},
        {"100%", {}, "100%"},
        {"%3 missing", {"a"}, "%3 missing"},
        {"%0 and %a", {"z"}, "%0 and %a"},
        {"Excel %1-%2", {"97", "2003"}, "Excel 97-2003"},
    };
    for (const Case& c : cases) EXPECT_EQ(FillTemplate(c.tmpl, c.args), c.expected) << c.tmpl;
}

TEST(FillTemplate, MarkedTextIsTheTextItself) {
    EXPECT_STREQ(ORB_TEXT("core", "通信超时！"), "通信超时！");
}

}  // namespace
}  // namespace orb
