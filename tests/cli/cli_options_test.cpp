#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "cli/cli_texts.h"

namespace varnex {
namespace {

namespace tx = cli_texts;

std::variant<CommandLine, CommandLineError> parse(const std::vector<std::string>& arguments) {
    std::vector<const char*> argv = {"varnex-cli"};
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    return parseCommandLine(static_cast<int>(argv.size()), argv.data());
}

// The arguments of a command line written with blanks between them.
std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> arguments;
    std::istringstream in(text);
    for (std::string word; in >> word;) arguments.push_back(word);
    return arguments;
}

struct Accepted {
    const char* line;
    std::optional<CliCommand> command;
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;
    std::set<std::string> flags;
    bool help = false;
};

TEST(CommandLine, TakesEachCommandsOptions) {
    const Accepted cases[] = {
        {"sheets a.xlsx", CliCommand::Sheets, {"a.xlsx"}, {}, {}},
        {"template --exam 期末 -o t.xlsx --force",
         CliCommand::Template,
         {},
         {{"--exam", "期末"}, {"-o", "t.xlsx"}},
         {"--force"}},
        {"sample --grade 八年级 --schools 2 --classes-per-school 3 --students-per-class 20 --seed 7 "
         "--previous-of p.xlsx -o s.xlsx --force",
         CliCommand::Sample,
         {},
         {{"--grade", "八年级"},
          {"--schools", "2"},
          {"--classes-per-school", "3"},
          {"--students-per-class", "20"},
          {"--seed", "7"},
          {"--previous-of", "p.xlsx"},
          {"-o", "s.xlsx"}},
         {"--force"}},
        // The workbook may stand among the options.
        {"export --scores 七年级 w.xlsx --teachers 教师任课表 --grade 七年级 --exam 期中 --school 育才中学 "
         "--settings s.ini --full-mark 语文=150 --excellence 语文=85 --reports 总分前3名 --missing-rule 1 "
         "--missing-limit 3 --blank-scores exclude --ranking 1224 --previous 上次.xlsx --previous-sheet 成绩 "
         "--near 5 --yes "
         "--force -o r.xlsx",
         CliCommand::Export,
         {"w.xlsx"},
         {{"--scores", "七年级"},
          {"--teachers", "教师任课表"},
          {"--grade", "七年级"},
          {"--exam", "期中"},
          {"--school", "育才中学"},
          {"--settings", "s.ini"},
          {"--full-mark", "语文=150"},
          {"--excellence", "语文=85"},
          {"--reports", "总分前3名"},
          {"--missing-rule", "1"},
          {"--missing-limit", "3"},
          {"--blank-scores", "exclude"},
          {"--ranking", "1224"},
          {"--previous", "上次.xlsx"},
          {"--previous-sheet", "成绩"},
          {"--near", "5"},
          {"-o", "r.xlsx"}},
         {"--yes", "--force"}},
        // A value is the next argument whatever it looks like; the last one given counts; a lone
        // "-" is an argument.
        {"sample -o --force --seed 1 --seed -2",
         CliCommand::Sample,
         {},
         {{"-o", "--force"}, {"--seed", "-2"}},
         {}},
        {"sheets -", CliCommand::Sheets, {"-"}, {}, {}},
        {"--help sheets --near", std::nullopt, {}, {}, {}, true},
        {"-h", std::nullopt, {}, {}, {}, true},
        {"export --help", CliCommand::Export, {}, {}, {}, true},
        {"sheets a.xlsx -h", CliCommand::Sheets, {"a.xlsx"}, {}, {}, true},
    };
    for (const Accepted& c : cases) {
        SCOPED_TRACE(c.line);
        auto parsed = parse(words(c.line));
        const auto* line = std::get_if<CommandLine>(&parsed);
        ASSERT_NE(line, nullptr) << std::get<CommandLineError>(parsed).message;
        EXPECT_EQ(line->command, c.command);
        EXPECT_EQ(line->positional, c.positional);
        EXPECT_EQ(line->values, c.values);
        EXPECT_EQ(line->flags, c.flags);
        EXPECT_EQ(line->help, c.help);
    }
}

TEST(CommandLine, RefusesWhatIsNotItsCommands) {
    const struct {
        const char* line;
        CommandLineFault fault;
        std::string message;
    } cases[] = {
        {"sheets a.xlsx --near 3", CommandLineFault::OptionOfAnotherCommand,
         "选项 --near 不能用于 sheets 命令 / option --near cannot be used with the sheets command\n"},
        {"template --exam 期末 --seed 7", CommandLineFault::OptionOfAnotherCommand,
         "选项 --seed 不能用于 template 命令 / option --seed cannot be used with the template command\n"},
        // Refused as another command's option, though it lacks its value too.
        {"sample -o s.xlsx --scores", CommandLineFault::OptionOfAnotherCommand,
         "选项 --scores 不能用于 sample 命令 / option --scores cannot be used with the sample command\n"},
        {"sample -o s.xlsx --yes", CommandLineFault::OptionOfAnotherCommand,
         "选项 --yes 不能用于 sample 命令 / option --yes cannot be used with the sample command\n"},
        {"sheets a.xlsx --force", CommandLineFault::OptionOfAnotherCommand,
         "选项 --force 不能用于 sheets 命令 / option --force cannot be used with the sheets command\n"},
        // The first argument that cannot be taken decides, even before --help.
        {"sheets --near 3 --help", CommandLineFault::OptionOfAnotherCommand,
         "选项 --near 不能用于 sheets 命令 / option --near cannot be used with the sheets command\n"},
        {"export w.xlsx --bogus", CommandLineFault::UnknownOption, "未知选项 / unknown option: --bogus\n"},
        {"sheets --Help", CommandLineFault::UnknownOption, "未知选项 / unknown option: --Help\n"},
        {"export w.xlsx --near", CommandLineFault::MissingValue,
         "选项 --near 需要一个值 / option --near needs a value\n"},
        {"template -o", CommandLineFault::MissingValue, "选项 -o 需要一个值 / option -o needs a value\n"},
        {"report --help", CommandLineFault::UnknownCommand,
         std::string("未知命令 / unknown command: report\n\n") + mainHelp()},
        {"--seed 3 sample", CommandLineFault::UnknownCommand,
         std::string("未知命令 / unknown command: --seed\n\n") + mainHelp()},
        {"", CommandLineFault::NoCommand, mainHelp()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        auto parsed = parse(words(c.line));
        const auto* error = std::get_if<CommandLineError>(&parsed);
        ASSERT_NE(error, nullptr);
        EXPECT_EQ(error->fault, c.fault);
        EXPECT_EQ(error->message, c.message);
    }
}

// A command's help lists the options it takes (besides --help and -h), and it takes them; the
// options of the other commands it refuses.
TEST(CommandLine, EachCommandTakesTheOptionsItsHelpLists) {
    const std::map<CliCommand, std::set<std::string>> taken = {
        {CliCommand::Sheets, {}},
        {CliCommand::Template, {"--exam", "-o", "--force"}},
        {CliCommand::Sample,
         {"--grade", "--schools", "--classes-per-school", "--students-per-class", "--seed", "--previous-of",
          "-o", "--force"}},
        {CliCommand::Export, {"--scores",         "--previous",
                              "--previous-sheet", "--near",
                              "--teachers",       "--grade",
                              "--exam",           "--school",
                              "--class",          "--scaled",
                              "--settings",       "--full-mark",
                              "--excellence",     "--reports",
                              "--missing-rule",   "--missing-limit",
                              "--blank-scores",   "--ranking",
                              "--levels",         "--yes",
                              "--force",          "-o",
                              "--four-rates",     "--more-figures",
                              "--good",           "--low",
                              "--no-ranks",       "--scale-electives",
                              "--lines",          "--lines-top",
                              "--near-lines",     "--questions",
                              "--question-sheet", "--question-subject",
                              "--question-marks", "--split",
                              "--by-track"}},
    };
    std::set<std::string> every;
    for (const auto& [command, options] : taken) every.insert(options.begin(), options.end());
    for (const auto& [command, options] : taken) {
        SCOPED_TRACE(commandName(command));
        std::set<std::string> listed;
        std::istringstream help(commandHelp(command));
        for (std::string line; std::getline(help, line);) {
            if (line.starts_with("  -")) listed.insert(line.substr(2, line.find(' ', 2) - 2));
        }
        EXPECT_EQ(listed, options);
        for (const std::string& option : listed) {
            auto parsed = parse({commandName(command), option, "值"});
            EXPECT_TRUE(std::holds_alternative<CommandLine>(parsed)) << option;
        }
        for (const std::string& option : every) {
            if (options.count(option)) continue;
            auto parsed = parse({commandName(command), option, "值"});
            const auto* error = std::get_if<CommandLineError>(&parsed);
            ASSERT_NE(error, nullptr) << option;
            EXPECT_EQ(error->fault, CommandLineFault::OptionOfAnotherCommand) << option;
        }
    }
}

TEST(CommandLine, HelpLayout) {
    const std::string main = mainHelp();
    EXPECT_TRUE(main.starts_with(tx::kMainHelpHead));
    EXPECT_TRUE(main.ends_with(tx::kMainHelpFoot));
    EXPECT_NE(main.find("\n  sheets    列出工作簿中的工作表 / list the worksheets of a workbook\n"
                        "  template  生成导入模板工作簿 / write the import template workbook\n"),
              std::string::npos)
        << main;

    EXPECT_EQ(commandHelp(CliCommand::Sheets), tx::kSheetsUsage);
    EXPECT_EQ(
        commandHelp(CliCommand::Template),
        std::string(tx::kTemplateUsage) +
            "\n"
            "  --exam NAME  考试名称，也是默认文件名 / exam name, also the default file name\n"
            "  -o FILE      写到该文件（默认：文档文件夹）/ write exactly this file (default: documents "
            "folder)\n"
            "  --force      覆盖已有文件 / replace an existing FILE\n");

    // The help of every option starts in one column, counted in character cells (a Chinese
    // character takes two); an option too wide for it is followed by one blank; further lines of
    // its help start in the column too.
    const std::string exportHelp = commandHelp(CliCommand::Export);
    for (const char* lines : {
             "\n  --scores SHEET       学生成绩工作表 / the student score worksheet\n",
             "\n  --reports 报表,…     本次导出的报表，",
             "\n  --full-mark 学科=N,… 本次使用的满分",
             "\n  --excellence 学科=N,… 本次使用的优秀控制线",
             "\n  --previous-sheet SHEET 上次考试的成绩工作表（默认与 --scores 同名，否则第一张）\n"
             "                       the previous exam's score sheet (default: named like --scores, else the "
             "first)\n"
             "  --near N             临界生",
         }) {
        EXPECT_NE(exportHelp.find(lines), std::string::npos) << lines << "\n" << exportHelp;
    }
    EXPECT_TRUE(exportHelp.ends_with("\n  -o FILE              结果工作簿 / the result workbook\n"))
        << exportHelp;
    EXPECT_TRUE(
        commandHelp(CliCommand::Sample)
            .find("\n  --previous-of FILE       改为生成 FILE 中同一年级学生的上次考试成绩表\n"
                  "                           instead, an earlier exam of the same grade's students of "
                  "FILE\n") != std::string::npos);
}

}  // namespace
}  // namespace varnex
