#include "ui/control_transfer.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <climits>

#include "app/report_choices.h"
#include "base/text_util.h"
#include "ui/control_ids.h"
#include "ui/ui_texts.h"

namespace varnex::ui {

std::optional<int> parseDialogInteger(const QString& text) {
    QString trimmed = text.trimmed();
    int i = 0;
    if (i < trimmed.size() && (trimmed[i] == u'+' || trimmed[i] == u'-')) ++i;
    if (i == trimmed.size()) return std::nullopt;
    for (int j = i; j < trimmed.size(); ++j) {
        if (trimmed[j] < u'0' || trimmed[j] > u'9') return std::nullopt;
    }
    bool ok = false;
    qlonglong value = trimmed.toLongLong(&ok);
    if (!ok || value < INT_MIN || value > INT_MAX) return std::nullopt;
    return static_cast<int>(value);
}

namespace {

std::array<std::string, kSubjectCount> texts(const std::array<QLineEdit*, kSubjectCount>& edits) {
    std::array<std::string, kSubjectCount> out;
    for (size_t i = 0; i < edits.size(); ++i) out[i] = edits[i]->text().toStdString();
    return out;
}

}  // namespace

int readControls(const WindowControls& controls, AppState& state) {
    auto readInt = [&](QLineEdit* edit, int& field) {
        std::optional<int> value = parseDialogInteger(edit->text());
        if (value) field = *value;
        return value.has_value();
    };

    state.workbook.selectedSheet = controls.combo(ctl::WorksheetList)->currentIndex();
    if (int grade = controls.combo(ctl::GradeList)->currentIndex(); grade >= 0) state.gradeIndex = grade;

    if (int rule = controls.missingRule->checkedId(); rule >= 0) state.importOptions.missingRule = rule;
    if (!readInt(controls.edit(ctl::MissingLimit), state.importOptions.missingLimit))
        return ctl::MissingLimit;

    for (int s = 0; s < kSubjectCount; ++s) {
        QLineEdit* edit = controls.fullMarks[static_cast<size_t>(s)];
        if (!readInt(edit, state.scores.fullMark[static_cast<size_t>(s)]))
            return kSubjectEdits[static_cast<size_t>(s)].fullMark;
    }
    for (int s = 0; s < kSubjectCount; ++s) {
        QLineEdit* edit = controls.excellenceLines[static_cast<size_t>(s)];
        if (!readInt(edit, state.scores.excellenceLine[static_cast<size_t>(s)]))
            return kSubjectEdits[static_cast<size_t>(s)].excellence;
    }

    // The 良好 and 低分 lines are percents of the full mark: a whole number of 0 … 100.
    for (int s = 0; s < kSubjectCount; ++s) {
        const size_t k = static_cast<size_t>(s);
        if (!readInt(controls.goodLines[k], state.scores.goodLine[k]) || state.scores.goodLine[k] > 100)
            return kSubjectLineEdits[k].good;
        if (!readInt(controls.lowLines[k], state.scores.lowLine[k]) || state.scores.lowLine[k] > 100)
            return kSubjectLineEdits[k].low;
    }

    for (const WindowControls::OtherSubjectEdits& other : controls.otherSubjects) {
        state.scores.setExtraFullMark(other.name, parseDialogInteger(other.fullMark->text()).value_or(0));
        state.scores.setExtraExcellenceLine(other.name,
                                            parseDialogInteger(other.excellence->text()).value_or(80));
    }
    state.importOptions.scaledScores = controls.check(ctl::ConvertedScores)->isChecked();
    state.scores.computeScaled = controls.check(ctl::ComputeScaled)->isChecked();

    readExamName(controls, state);

    ExportOptions& options = state.exportOptions;
    for (const ReportChoice& report : kReportChoices) {
        // 导出小题明细 is in the 小题分析 dialog, which sets the option itself.
        QCheckBox* box = controls.check(reportCheckBox(report.chosen));
        if (box == nullptr) continue;
        options.*report.chosen = box->isChecked();
        if (report.setting != ReportSetting::TopN) continue;
        // The edits and boxes beside the top-N box come next in the window.
        if (!readInt(controls.edit(ctl::TopNCount), options.topN)) return ctl::TopNCount;
        options.ignoreZeroScores = controls.check(ctl::IgnoreZeroScores)->isChecked();
    }
    options.blankScoresExcluded = controls.check(ctl::BlankScoresExcluded)->isChecked();
    options.fourRates = controls.check(ctl::FourRates)->isChecked();
    options.moreFigures = controls.check(ctl::MoreFigures)->isChecked();
    options.noRanks = controls.check(ctl::NoRanks)->isChecked();
    options.nearScoreLines = controls.check(ctl::NearScoreLines)->isChecked();
    options.byTrack = controls.check(ctl::ByTrack)->isChecked();
    if (int layout = controls.rankingLayout->checkedId(); layout >= 0) options.classRankingLayout = layout;
    // Neither button is checked while the settings file has made no choice: that stays so.
    if (int ties = controls.rankingTies->checkedId(); ties >= 0)
        options.rankingRule = ties == 0 ? RankingRule::Competition : RankingRule::Dense;
    // The combo lists 不分, 按学校, 按班级 in SplitFiles order.
    options.split = static_cast<SplitFiles>(std::max(0, controls.combo(ctl::SplitFilesList)->currentIndex()));
    if (!readLevelCuts(controls, state)) return ctl::LevelLines;
    return -1;
}

std::optional<LevelCuts> levelCutsShown(const WindowControls& controls) {
    const LevelMethod method =
        controls.levelMethod->checkedId() == 1 ? LevelMethod::Share : LevelMethod::Score;
    return makeLevelCuts(method, controls.edit(ctl::LevelLines)->text().toStdString(),
                         controls.edit(ctl::LevelNames)->text().toStdString());
}

LevelCuts levelCutsOf(const AppState& state) {
    return state.scores.levels.value_or(defaultLevelCuts(state.gradeIndex));
}

bool readLevelCuts(const WindowControls& controls, AppState& state, bool* changed) {
    std::optional<LevelCuts> cuts = levelCutsShown(controls);
    if (!cuts) return false;
    const bool differs = *cuts != levelCutsOf(state);
    if (differs) state.scores.levels = std::move(cuts);
    if (changed != nullptr) *changed = differs;
    return true;
}

void writeLevelCuts(WindowControls& controls, const LevelCuts& cuts) {
    controls.levelMethod->button(cuts.method == LevelMethod::Share ? 1 : 0)->setChecked(true);
    controls.edit(ctl::LevelLines)->setText(QString::fromStdString(levelLinesText(cuts)));
    controls.edit(ctl::LevelNames)->setText(QString::fromStdString(levelNamesText(cuts)));
    controls.byId(ctl::LevelProblem)->hide();
}

void readExamName(const WindowControls& controls, AppState& state) {
    state.examNameText = controls.combo(ctl::ExamNameBox)->currentText().toStdString();
}

std::string numberBoxName(int controlId) {
    namespace tx = ui_texts;
    for (size_t s = 0; s < kSubjects.size(); ++s) {
        if (controlId == kSubjectEdits[s].fullMark)
            return strprintf(tx::kFullMarkBoxFormat, kSubjects[s].name);
        if (controlId == kSubjectEdits[s].excellence)
            return strprintf(tx::kExcellenceBoxFormat, kSubjects[s].name);
        if (controlId == kSubjectLineEdits[s].good)
            return strprintf(tx::kGoodLineBoxFormat, kSubjects[s].name);
        if (controlId == kSubjectLineEdits[s].low) return strprintf(tx::kLowLineBoxFormat, kSubjects[s].name);
    }
    if (controlId == ctl::MissingLimit) return tx::kMissingLimitBox;
    if (controlId == ctl::TopNCount) return tx::kTopNBox;
    return std::string();
}

void writeRecords(WindowControls& controls, const AppState& state) {
    auto number = [](int value) { return QString::number(value); };
    for (int s = 0; s < kSubjectCount; ++s) {
        controls.fullMarks[static_cast<size_t>(s)]->setText(
            number(state.scores.fullMark[static_cast<size_t>(s)]));
        controls.excellenceLines[static_cast<size_t>(s)]->setText(
            number(state.scores.excellenceLine[static_cast<size_t>(s)]));
        controls.goodLines[static_cast<size_t>(s)]->setText(
            number(state.scores.goodLine[static_cast<size_t>(s)]));
        controls.lowLines[static_cast<size_t>(s)]->setText(
            number(state.scores.lowLine[static_cast<size_t>(s)]));
    }
    if (QAbstractButton* rule = controls.missingRule->button(state.importOptions.missingRule))
        rule->setChecked(true);
    controls.edit(ctl::MissingLimit)->setText(number(state.importOptions.missingLimit));

    const ExportOptions& options = state.exportOptions;
    for (const ReportChoice& report : kReportChoices) {
        if (QCheckBox* box = controls.check(reportCheckBox(report.chosen)))
            box->setChecked(options.*report.chosen);
    }
    controls.edit(ctl::TopNCount)->setText(number(options.topN));
    controls.check(ctl::IgnoreZeroScores)->setChecked(options.ignoreZeroScores);
    controls.check(ctl::BlankScoresExcluded)->setChecked(options.blankScoresExcluded);
    controls.check(ctl::FourRates)->setChecked(options.fourRates);
    controls.check(ctl::MoreFigures)->setChecked(options.moreFigures);
    controls.check(ctl::NoRanks)->setChecked(options.noRanks);
    controls.check(ctl::NearScoreLines)->setChecked(options.nearScoreLines);
    controls.check(ctl::ByTrack)->setChecked(options.byTrack);
    if (QAbstractButton* layout = controls.rankingLayout->button(options.classRankingLayout))
        layout->setChecked(true);
    if (options.rankingRule == RankingRule::Unchosen) {
        controls.rankingTies->setExclusive(false);
        for (QAbstractButton* button : controls.rankingTies->buttons()) button->setChecked(false);
        controls.rankingTies->setExclusive(true);
    } else {
        controls.rankingTies->button(options.rankingRule == RankingRule::Competition ? 0 : 1)
            ->setChecked(true);
    }
    controls.combo(ctl::SplitFilesList)->setCurrentIndex(static_cast<int>(options.split));
    controls.check(ctl::ConvertedScores)->setChecked(state.importOptions.scaledScores);
    controls.check(ctl::ComputeScaled)->setChecked(state.scores.computeScaled);
    writeOtherSubjects(controls, state);
    writeLevelCuts(controls, levelCutsOf(state));

    recomputeTotalFullMark(controls);
    recomputeTotalExcellence(controls);
}

void writeOtherSubjects(WindowControls& controls, const AppState& state) {
    for (const WindowControls::OtherSubjectEdits& other : controls.otherSubjects) {
        const int fullMark = state.scores.extraFullMark(other.name);
        other.fullMark->setText(fullMark > 0 ? QString::number(fullMark) : QString());
        other.excellence->setText(QString::number(state.scores.extraExcellenceLine(other.name)));
    }
}

void recomputeTotalFullMark(WindowControls& controls) {
    controls.edit(ctl::TotalFullMark)
        ->setText(QString::number(totalFullMarkFromTexts(texts(controls.fullMarks))));
}

void recomputeTotalExcellence(WindowControls& controls) {
    int total = totalExcellenceFromTexts(texts(controls.fullMarks), texts(controls.excellenceLines));
    controls.edit(ctl::TotalExcellence)->setText(QString::number(total));
}

}  // namespace varnex::ui
