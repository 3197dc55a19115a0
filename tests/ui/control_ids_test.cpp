#include "ui/control_ids.h"

#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "app/report_choices.h"

namespace varnex {
namespace {

// The lookup has no default case, so the compiler names an id that was added without its name;
// this keeps the names apart: two ids never share one, and each reads as written in the enum.
TEST(ControlIds, EveryIdHasANameOfItsOwn) {
    const std::regex identifier("(Cmd)?[A-Z][A-Za-z0-9]*");
    std::map<std::string, int> idOf;
    for (int number = 0; number <= 0xFFFF; ++number) {
        const char* name = ctl::controlName(static_cast<ControlId>(number));
        if (name == nullptr) continue;
        EXPECT_TRUE(std::regex_match(name, identifier)) << number << " is named \"" << name << "\"";
        auto [at, added] = idOf.emplace(name, number);
        EXPECT_TRUE(added) << name << " names both " << at->second << " and " << number;
    }
    EXPECT_FALSE(idOf.empty());
    EXPECT_EQ(ctl::controlName(static_cast<ControlId>(0)), nullptr);
    // The names as the recorded calls of the command tests show them.
    EXPECT_STREQ(ctl::controlName(ctl::ExportResults), "ExportResults");
    EXPECT_STREQ(ctl::controlName(ctl::StudentTable), "StudentTable");
    EXPECT_STREQ(ctl::controlName(ctl::CmdAbout), "CmdAbout");
}

// The window's table of report check boxes follows the core's table of reports: a report added
// without its check box, or two reports on one box, show here.
TEST(ControlIds, EveryReportHasACheckBoxOfItsOwn) {
    std::set<int> boxes;
    for (const ReportChoice& report : kReportChoices) {
        const int box = ui::reportCheckBox(report.chosen);
        EXPECT_NE(box, 0) << report.caption;
        EXPECT_TRUE(boxes.insert(box).second) << report.caption;
    }
    EXPECT_EQ(boxes.size(), std::size(ui::kReportCheckBoxes));
}

}  // namespace
}  // namespace varnex
