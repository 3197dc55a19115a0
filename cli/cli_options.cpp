#include "cli/cli_options.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "base/text_util.h"
#include "base/utf8.h"
#include "cli/cli_texts.h"

namespace varnex {
namespace {

namespace tx = cli_texts;

struct CommandEntry {
    CliCommand command;
    const char* name;
    const char* summary;  ///< its line in the main help
    const char* usage;    ///< its help before the options
    int helpColumn;       ///< where the help of its options starts on their lines
};

constexpr CommandEntry kCommands[] = {
    {CliCommand::Sheets, "sheets", tx::kSheetsSummary, tx::kSheetsUsage, 0},
    {CliCommand::Template, "template", tx::kTemplateSummary, tx::kTemplateUsage, 15},
    {CliCommand::Sample, "sample", tx::kSampleSummary, tx::kSampleUsage, 27},
    {CliCommand::Export, "export", tx::kExportSummary, tx::kExportUsage, 23},
};

constexpr bool inCommandOrder() {
    for (size_t i = 0; i < std::size(kCommands); ++i) {
        if (kCommands[i].command != static_cast<CliCommand>(i)) return false;
    }
    return true;
}
static_assert(inCommandOrder(), "kCommands is looked up by its commands' values");

/// The commands an option belongs to, one bit for each.
using CommandSet = unsigned;
constexpr CommandSet bit(CliCommand command) {
    return 1U << static_cast<unsigned>(command);
}
constexpr CommandSet kSheets = bit(CliCommand::Sheets);
constexpr CommandSet kTemplate = bit(CliCommand::Template);
constexpr CommandSet kSample = bit(CliCommand::Sample);
constexpr CommandSet kExport = bit(CliCommand::Export);
constexpr CommandSet kEveryCommand = kSheets | kTemplate | kSample | kExport;

struct OptionSpec {
    const char* name;
    const char* argument;  ///< what its value is called in the help; none for an option without a value
    CommandSet commands;
    /// Its help, lines separated by "\n"; none for an option the help does not list. An option
    /// whose help differs between commands has a row for each.
    const char* help;
};

// Every option, in the order each command's help lists them.
constexpr OptionSpec kOptions[] = {
    {"--help", nullptr, kEveryCommand, nullptr},
    {"-h", nullptr, kEveryCommand, nullptr},

    {"--exam", "NAME", kTemplate, "考试名称，也是默认文件名 / exam name, also the default file name"},
    {"-o", "FILE", kTemplate,
     "写到该文件（默认：文档文件夹）/ write exactly this file (default: documents folder)"},

    {"--grade", "G", kSample, "年级，默认 七年级 / grade level, default 七年级"},
    {"--schools", "N", kSample, "学校数，默认 3 / number of schools, default 3"},
    {"--classes-per-school", "N", kSample, "每校班级数，默认 4 / classes per school, default 4"},
    {"--students-per-class", "N", kSample, "每班人数，默认 40 / students per class, default 40"},
    {"--seed", "S", kSample, "随机种子，默认 2026 / random seed, default 2026"},
    {"--previous-of", "FILE", kSample,
     "改为生成 FILE 中同一年级学生的上次考试成绩表\n"
     "instead, an earlier exam of the same grade's students of FILE"},
    {"-o", "FILE", kSample, "输出文件 / output file"},

    {"--force", nullptr, kTemplate | kSample, "覆盖已有文件 / replace an existing FILE"},

    {"--scores", "SHEET", kExport, "学生成绩工作表 / the student score worksheet"},
    {"--previous", "FILE", kExport,
     "上次考试的工作簿；未给 --reports 时导出进退步\n"
     "the previous exam's workbook; exports the progress reports unless --reports\n"
     "chooses the reports"},
    {"--previous-sheet", "SHEET", kExport,
     "上次考试的成绩工作表（默认与 --scores 同名，否则第一张）\n"
     "the previous exam's score sheet (default: named like --scores, else the first)"},
    {"--near", "N", kExport,
     "临界生：总分在分数线上下 N 分以内（默认取配置文件，未设时 10）\n"
     "临界生: totals within N points of a line (default: the settings, else 10)"},
    {"--teachers", "SHEET", kExport, "教师任课工作表 / the teacher assignment worksheet"},
    {"--grade", "G", kExport, "年级（一年级 … 九年级、高一 … 高三）/ grade level"},
    {"--exam", "NAME", kExport, "考试名称 / exam name"},
    {"--school", "NAME", kExport,
     "工作表没有“学校”列时，表中各行所属的学校\n"
     "the school of every row of a sheet without a 学校 column"},
    {"--class", "NAME", kExport,
     "工作表没有“班级”列时，表中各行所属的班级（如 4、4班、高二4班）\n"
     "the class of every row of a sheet without a 班级 column (e.g. 4, 4班, 高二4班)"},
    {"--scaled", nullptr, kExport,
     "本次按赋分统计（表中同时有原始分和赋分时），不存入配置文件\n"
     "for this run, analyse the scaled scores (赋分) where a sheet has both, not saved"},
    {"--scale-electives", nullptr, kExport,
     "本次按原始分计算化学、生物、政治、地理的赋分（高一至高三；即窗口中的“计算赋分”），\n"
     "规则取配置文件的赋分规则，默认3+1+2常用；与 --scaled 同用时按算出的赋分统计\n"
     "for this run, compute the scaled scores of 化学, 生物, 政治 and 地理 from their raw\n"
     "scores (senior grades), by the settings file's 赋分规则 (default 3+1+2常用); with\n"
     "--scaled they are the scores analysed"},
    {"--settings", "FILE", kExport,
     "配置文件（默认：与窗口程序共用的配置文件）/ settings file (default: the one the window uses)"},
    {"--full-mark", "学科=N,…", kExport,
     "本次使用的满分，不存入配置文件（如 语文=150,数学=150）；成绩表中不在学科表内的列\n"
     "（如 禁毒=10）给出满分即作为其他学科统计\n"
     "full marks for this run only, not saved (e.g. 语文=150,数学=150); a column of the score\n"
     "sheet that is no listed subject (e.g. 禁毒=10) is analysed as an extra subject"},
    {"--excellence", "学科=N,…", kExport,
     "本次使用的优秀控制线（满分的百分比），不存入配置文件\n"
     "excellence lines (percent of the full mark) for this run only, not saved"},
    {"--reports", "报表,…", kExport,
     "本次导出的报表，写法同窗口中的勾选框（可省去“导出”二字），如\n"
     "导出年级各科三率,导出总分前30名；不给出时按配置文件\n"
     "the reports of this run, named as the window's check boxes show them\n"
     "(\"导出\" may be left out); without it, the settings file's choice"},
    {"--missing-rule", "R", kExport,
     "0 缺考学科超过一半不导入（默认）；1 缺考超过 N 科不导入；2 全部导入\n"
     "0 skip when more than half missing (default); 1 more than N; 2 import all"},
    {"--missing-limit", "N", kExport, "规则 1 的 N，默认 4 / N of rule 1, default 4"},
    {"--blank-scores", "R", kExport,
     "空白和“缺考”“/”等成绩的计法，本次使用，不存入配置文件：zero 按0分计入；\n"
     "exclude 不计入该科（即窗口中的“缺考和空白成绩不计入统计”）；不给出时按配置文件\n"
     "how blank scores and texts such as 缺考 count, for this run only: zero counts\n"
     "them as 0; exclude leaves the student out of that subject; without it, the\n"
     "settings file's choice"},
    {"--ranking", "1224|1223", kExport,
     "名次方式，本次使用，不存入配置文件：1224 并列占位（1,2,2,4）；1223 并列不占位\n"
     "（1,2,2,3）；用于总分前N名、班级总分排名和学生进退步；不给出时按配置文件\n"
     "how equal totals share places, for this run only: 1224 gives 1, 2, 2, 4 and\n"
     "1223 gives 1, 2, 2, 3 in 总分前N名, 班级总分排名 and 学生进退步; without it, the\n"
     "settings file's choice"},
    {"--levels", "score:线,…|share:比例,…", kExport,
     "本次使用的等级划分，不存入配置文件：score:90,75,60 按分数线（满分的百分比）；\n"
     "share:15,35,35,13,2 按人数比例（自高到低各等级所占百分比）；可在后面加 :等级名称,…\n"
     "（如 score:90,75,60:优秀,良好,合格,待合格）；不给出时按配置文件\n"
     "how levels are cut, for this run only: score:90,75,60 by lines in percent of the\n"
     "full mark; share:15,35,35,13,2 by the share of students of each level from the\n"
     "top; a third part :NAME,… names the levels; without it, the settings file's cuts"},
    {"--split", "school|class", kExport,
     "分别导出，本次使用，不存入配置文件：school 每所学校一个工作簿，class 每个班级一个工作簿，\n"
     "放在与结果工作簿同名的文件夹中（整个结果工作簿照常生成）；不给出时按配置文件\n"
     "for this run only: beside the whole result workbook, a folder named after it with one\n"
     "workbook per school (school) or per class (class); without it, the settings file's choice"},
    {"--four-rates", nullptr, kExport,
     "本次在三率旁加上良好率和低分率（四率），不存入配置文件\n"
     "for this run, add 良好率 and 低分率 beside the three rates, not saved"},
    {"--more-figures", nullptr, kExport,
     "本次在三率旁加上超均率、标准差、最高分和最低分（扩展指标），不存入配置文件\n"
     "for this run, add 超均率, 标准差, 最高分 and 最低分 beside the three rates, not saved"},
    {"--good", "学科=N,…", kExport,
     "本次使用的良好线（满分的百分比，默认 70），不存入配置文件\n"
     "良好 lines (percent of the full mark, default 70) for this run only, not saved"},
    {"--low", "学科=N,…", kExport,
     "本次使用的低分线（满分的百分比，默认 40），不存入配置文件\n"
     "低分 lines (percent of the full mark, default 40) for this run only, not saved"},
    {"--no-ranks", nullptr, kExport,
     "不公布名次，本次使用：不导出总分前N名和总分名次段，班级总分排名按姓名排列并显示等级，\n"
     "学生进退步显示等级；不给出时按配置文件\n"
     "no students' places, for this run: leaves out 总分前N名 and 总分名次段, lists\n"
     "班级总分排名 by name with levels and shows levels in 学生进退步; without it, the\n"
     "settings file's choice"},
    {"--by-track", nullptr, kExport,
     "按科类分别统计，本次使用：总分前N名、班级总分排名和学生进退步的名次在各科类（物理类、历史类）内排，\n"
     "三率表按科类分别导出；不给出时按配置文件\n"
     "per track, for this run: places in 总分前N名, 班级总分排名 and 学生进退步 within each track\n"
     "(物理类, 历史类) and the rate sheets once per track; without it, the settings file's choice"},
    {"--lines", "科类:线=分数,…;…", kExport,
     "本次上线分析的分数线，不存入配置文件，如 物理类:本科=480,特控=560;历史类:本科=470,特控=550；\n"
     "不写科类时用于各科类；不给出时按配置文件该年级的“上线”\n"
     "the 上线 lines of the total for this run, not saved, e.g. 物理类:本科=480;历史类:本科=470;\n"
     "without a track for every track; without it, the settings file's 上线"},
    {"--lines-top", "线=比例%,…", kExport,
     "按比例的分数线，如 本科=60%,特控=20%：各科类第⌈n×比例⌉名学生的总分（可与 --lines 同用）\n"
     "lines by share, e.g. 本科=60%,特控=20%: the total of the ⌈n·r⌉-th student of each track\n"
     "(may be given with --lines)"},
    {"--near-lines", "上线|优秀及格", kExport,
     "临界生所用的分数线，本次使用，不存入配置文件：上线 按上线分数线；优秀及格 按总分的\n"
     "优秀线和及格线；不给出时按配置文件的“临界线”\n"
     "the lines 临界生 are near, for this run only: 上线 the 上线 lines, 优秀及格 the total's\n"
     "excellence and pass lines; without it, the settings file's 临界线"},
    {"--questions", "FILE", kExport,
     "小题分表工作簿（一科一张），用于小题分析；可多次给出，每次后接该科的以下选项\n"
     "a workbook with one subject's question scores, for 小题分析; repeat it for each\n"
     "subject, each followed by that subject's options below"},
    {"--question-sheet", "SHEET", kExport, "该科的小题分工作表 / the subject's question-score worksheet"},
    {"--question-subject", "学科", kExport, "该科的学科名称，如 数学 / the subject, e.g. 数学"},
    {"--question-marks", "题号=满分,…", kExport,
     "表中没有满分行时各小题的满分，如 1~12=5,13~16=5,17(1)=4\n"
     "the questions' full marks when the sheet has no 满分 row, e.g. 1~12=5,17(1)=4"},
    {"--yes", nullptr, kExport,
     "对所有确认问题回答“是”；否则回答“否”并以非零状态退出\n"
     "answer Yes to every question; without it a question is answered No and\n"
     "the command ends with a non-zero exit status"},
    {"--force", nullptr, kExport, "覆盖已有的 FILE / replace an existing FILE"},
    {"-o", "FILE", kExport, "结果工作簿 / the result workbook"},
};

bool belongsTo(const OptionSpec& option, CliCommand command) {
    return (option.commands & bit(command)) != 0;
}

const CommandEntry& entryOf(CliCommand command) {
    return kCommands[static_cast<size_t>(command)];
}

// The command's row of an option when it has one, else any row of that name; none when no
// command has the option.
const OptionSpec* findOption(std::string_view name, CliCommand command) {
    const OptionSpec* found = nullptr;
    for (const OptionSpec& option : kOptions) {
        if (name != option.name) continue;
        if (belongsTo(option, command)) return &option;
        found = &option;
    }
    return found;
}

bool isHelp(std::string_view argument) {
    return argument == "--help" || argument == "-h";
}

// The text padded with blanks to `column` character cells, and at least one blank.
std::string paddedTo(std::string text, int column) {
    text.append(static_cast<size_t>(std::max(1, column - displayWidth(text))), ' ');
    return text;
}

}  // namespace

std::variant<CommandLine, CommandLineError> parseCommandLine(int argc, const char* const* argv) {
    if (argc < 2) return CommandLineError{CommandLineFault::NoCommand, mainHelp()};
    const std::string first = argv[1];
    CommandLine line;
    if (isHelp(first)) {
        line.help = true;
        return line;
    }
    const auto command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                      [&](const CommandEntry& entry) { return first == entry.name; });
    if (command == std::end(kCommands)) {
        return CommandLineError{CommandLineFault::UnknownCommand,
                                strprintf(tx::kUnknownCommandFormat, first.c_str(), mainHelp().c_str())};
    }
    line.command = command->command;
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.size() < 2 || argument[0] != '-') {
            line.positional.push_back(argument);
            continue;
        }
        const OptionSpec* option = findOption(argument, command->command);
        if (option == nullptr) {
            return CommandLineError{CommandLineFault::UnknownOption,
                                    strprintf(tx::kUnknownOptionFormat, argument.c_str())};
        }
        if (!belongsTo(*option, command->command)) {
            return CommandLineError{CommandLineFault::OptionOfAnotherCommand,
                                    strprintf(tx::kOptionOfAnotherCommandFormat, argument.c_str(),
                                              command->name, argument.c_str(), command->name)};
        }
        if (isHelp(argument)) {
            line.help = true;
        } else if (option->argument == nullptr) {
            line.flags.insert(argument);
        } else if (i + 1 < argc) {
            line.values[argument] = argv[++i];
            line.given.emplace_back(argument, line.values[argument]);
        } else {
            return CommandLineError{CommandLineFault::MissingValue,
                                    strprintf(tx::kNeedsValueFormat, argument.c_str(), argument.c_str())};
        }
    }
    return line;
}

const char* commandName(CliCommand command) {
    return entryOf(command).name;
}

std::string mainHelp() {
    int nameColumn = 0;
    for (const CommandEntry& entry : kCommands) nameColumn = std::max(nameColumn, displayWidth(entry.name));
    std::string text = tx::kMainHelpHead;
    for (const CommandEntry& entry : kCommands)
        text += paddedTo("  " + std::string(entry.name), 2 + nameColumn + 2) + entry.summary + "\n";
    return text + tx::kMainHelpFoot;
}

std::string commandHelp(CliCommand command) {
    const CommandEntry& entry = entryOf(command);
    std::string text = entry.usage;
    std::string options;
    const std::string indent(static_cast<size_t>(entry.helpColumn), ' ');
    for (const OptionSpec& option : kOptions) {
        if (option.help == nullptr || !belongsTo(option, command)) continue;
        std::string head = "  " + std::string(option.name);
        if (option.argument != nullptr) head += " " + std::string(option.argument);
        options += paddedTo(head, entry.helpColumn);
        // Each further line of the help starts at the column too.
        for (std::string_view help = option.help;;) {
            const size_t end = help.find('\n');
            options += help.substr(0, end);
            options += '\n';
            if (end == std::string_view::npos) break;
            options += indent;
            help.remove_prefix(end + 1);
        }
    }
    if (!options.empty()) text += "\n" + options;
    return text;
}

}  // namespace varnex
