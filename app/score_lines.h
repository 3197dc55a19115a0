#pragma once
// 上线: the lines of the total that senior-high students are counted against (本科, 特控 …), per
// track (物理类, 历史类) or for every track, each a score or the share of the track's students
// who reach it. And the track a 选科 / 科类 / 首选科目 cell names.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnex {

/// The two tracks, in the order the reports list them.
inline constexpr const char* kTracks[] = {"物理类", "历史类"};

/// The track a cell names: 物理类 / 历史类, 物理 / 历史, or a combination whose first subject decides
/// (物化生, 史政地); "" for any other text.
std::string trackOf(std::string_view cell);

/// The six subjects of a 3+1+2 choice: 物理 or 历史 first, then two of the other four.
inline constexpr const char* kChoiceSubjects[] = {"物理", "化学", "生物", "历史", "政治", "地理"};

/// The three subjects a 选科 cell names as a combination — "物化生", "史政地", "物理化学生物",
/// "物理+化学+生物", "物、化、生" — in kChoiceSubjects' names, 物理 or 历史 first; none for a track
/// alone (物理类, 历史) or any other text.
std::optional<std::vector<std::string>> subjectsChosen(std::string_view cell);

/// One line of the total.
struct ScoreLine {
    std::string track;  ///< one of kTracks, or "" for every track
    std::string name;   ///< 本科, 特控 …
    bool byShare = false;
    /// The score in thousandths of a point, or the share of the track's students reaching it in
    /// hundredths of a percent (0 < share ≤ 100 %).
    long long value = 0;
    bool operator==(const ScoreLine&) const = default;
};

/// The lines of a settings value: groups separated by ";", each an optional track and ":" then
/// lines name=value separated by ","; a value ending in "%" is a share
/// ("物理类:本科=480,特控=560;历史类:本科=470,特控=60%"; "本科=60%,特控=20%" for every track).
/// None for any other text, or a line named twice for one track; "" gives no lines.
std::optional<std::vector<ScoreLine>> scoreLinesNamed(std::string_view text);

/// The lines as the settings file keeps them (scoreLinesNamed reads them back).
std::string scoreLinesText(const std::vector<ScoreLine>& lines);

/// The names of the lines, each once, in the order first given.
std::vector<std::string> scoreLineNames(const std::vector<ScoreLine>& lines);

}  // namespace varnex
