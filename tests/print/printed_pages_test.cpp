// The result workbook as a school office prints it: LibreOffice converts the sample exam's result
// to PDF, once with Carlito (the font with the default font's widths) and once without it, as on
// most desktops. Every page must hold whole charts or tables: a page that is only a narrow strip
// is a chart or table cut at the margin.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_dir.h"

namespace varnex::testing {
namespace {

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char ch : text) out += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return out + "'";
}

bool run(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

// What a command prints on its standard output.
std::string output(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    pclose(pipe);
    return out;
}

bool found(const char* program) {
    return run(std::string("command -v ") + program + " > /dev/null 2>&1");
}

// A grey image as pdftoppm writes it (binary PGM, 8 bits).
struct Page {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;
};

Page readPgm(const std::string& path) {
    Page page;
    const std::string bytes = readFile(path);
    int maxValue = 0, consumed = 0;
    if (std::sscanf(bytes.c_str(), "P5 %d %d %d%n", &page.width, &page.height, &maxValue, &consumed) != 3)
        return {};
    const size_t start = static_cast<size_t>(consumed) + 1;
    if (bytes.size() < start + static_cast<size_t>(page.width) * page.height) return {};
    page.pixels.assign(bytes.begin() + static_cast<long>(start), bytes.end());
    return page;
}

// The inked part of a page between the top and the bottom margin (the footer prints in the bottom
// one), as fractions of the width and height between the margins.
struct Ink {
    double width = 0;
    double height = 0;
};

Ink inkedBox(const Page& page) {
    const int margin = page.height * 75 / 1169;  // 0.75 of 11.69 inches
    int left = page.width, right = -1, top = page.height, bottom = -1;
    for (int y = margin; y < page.height - margin; ++y) {
        for (int x = 0; x < page.width; ++x) {
            if (page.pixels[static_cast<size_t>(y) * page.width + x] > 160) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return {};
    const double printableWidth = page.width * (8.27 - 1.4) / 8.27;
    return {(right - left + 1) / printableWidth, (bottom - top + 1) / double(page.height - 2 * margin)};
}

// One printing of the workbook: its pages and the text of each.
struct Printout {
    std::string failure;
    std::vector<Page> pages;
    std::vector<std::string> texts;
};

// Converts `xlsx` to PDF in `folder` with LibreOffice's own profile there; `fontConfig`, when
// given, is the fontconfig file it sees.
Printout print(const std::string& xlsx, const std::string& folder, const std::string& fontConfig) {
    Printout out;
    std::filesystem::create_directories(folder + "/home");
    const std::string env = "HOME=" + quoted(folder + "/home") +
                            (fontConfig.empty() ? "" : " FONTCONFIG_FILE=" + quoted(fontConfig));
    const std::string convert = env + " timeout 300 soffice --headless -env:UserInstallation=file://" +
                                folder + "/profile --convert-to pdf --outdir " + quoted(folder) + " " +
                                quoted(xlsx) + " > " + quoted(folder + "/soffice.log") + " 2>&1";
    const std::string pdf = folder + "/" + std::filesystem::path(xlsx).stem().string() + ".pdf";
    // soffice exits 0 also when it wrote nothing.
    if (!run(convert) || !std::filesystem::exists(pdf)) {
        out.failure = "LibreOffice wrote no PDF: " + readFile(folder + "/soffice.log");
        return out;
    }
    if (!run("pdftoppm -r 20 -gray " + quoted(pdf) + " " + quoted(folder + "/page"))) {
        out.failure = "pdftoppm failed";
        return out;
    }
    std::vector<std::string> images;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".pgm") images.push_back(entry.path().string());
    }
    std::sort(images.begin(), images.end());  // page-01.pgm … in page order
    for (const std::string& image : images) out.pages.push_back(readPgm(image));
    // pdftotext ends each page with a form feed.
    const std::string text = output("pdftotext -layout " + quoted(pdf) + " -");
    for (size_t from = 0, feed; (feed = text.find('\f', from)) != std::string::npos; from = feed + 1)
        out.texts.push_back(text.substr(from, feed - from));
    return out;
}

TEST(PrintedPages, EveryPageHoldsWholeChartsAndTables) {
    for (const char* program : {"soffice", "pdftoppm", "pdftotext"}) {
        if (!found(program))
            GTEST_SKIP() << program << " not found: the printed pages are not checked (install "
                         << "libreoffice-calc-nogui and poppler-utils).";
    }
    TempDir dir;
    const std::string input = dir.file("示例考试-七年级.xlsx"), result = dir.file("result.xlsx");
    const std::string cli = quoted(VARNEX_CLI);
    ASSERT_TRUE(
        run(cli +
            " sample --grade 七年级 --schools 3 --classes-per-school 4 --students-per-class 40 --seed 2026"
            " -o " +
            quoted(input) + " --force > /dev/null 2>&1"));
    ASSERT_TRUE(
        run(cli + " export " + quoted(input) +
            " --teachers 教师任课表 --scores 七年级 --grade 七年级 --exam 示例考试 --yes --force -o " +
            quoted(result) + " > /dev/null 2>&1"));

    // Without Carlito: a fontconfig file of the test's own that rejects it.
    const std::string noCarlito = dir.file("fonts.conf");
    writeFile(noCarlito,
              "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
              "  <include ignore_missing=\"yes\">/etc/fonts/fonts.conf</include>\n"
              "  <selectfont><rejectfont><pattern><patelt name=\"family\"><string>Carlito</string></patelt>"
              "</pattern></rejectfont></selectfont>\n</fontconfig>\n");
    if (output("fc-list Carlito family 2> /dev/null").empty())
        std::printf("Carlito is not installed (fonts-crosextra-carlito): both printings are without it.\n");
    ASSERT_TRUE(
        output("FONTCONFIG_FILE=" + quoted(noCarlito) + " fc-list Carlito family 2> /dev/null").empty());

    struct Setting {
        const char* name;
        std::string fontConfig;
        Printout printout;
    };
    Setting settings[] = {{"with Carlito", "", {}}, {"without Carlito", noCarlito, {}}};
    // The two conversions run side by side, each with a profile of its own.
    std::vector<std::thread> threads;
    for (size_t i = 0; i < std::size(settings); ++i) {
        threads.emplace_back([&, i] {
            settings[i].printout =
                print(result, dir.file("print" + std::to_string(i)), settings[i].fontConfig);
        });
    }
    for (std::thread& t : threads) t.join();

    for (const Setting& setting : settings) {
        SCOPED_TRACE(setting.name);
        const Printout& p = setting.printout;
        ASSERT_EQ(p.failure, "");
        ASSERT_GT(p.pages.size(), 20u);
        ASSERT_EQ(p.texts.size(), p.pages.size());
        const std::string chartTitle = "示例考试 - 统计图表（七年级）";
        int chartPages = 0;
        for (size_t i = 0; i < p.pages.size(); ++i) {
            SCOPED_TRACE("page " + std::to_string(i + 1));
            ASSERT_GT(p.pages[i].width, 0);
            const Ink ink = inkedBox(p.pages[i]);
            // The narrowest sheet, 目录, takes more than half the width; a cut-off strip far less.
            EXPECT_GT(ink.width, 0.4) << p.texts[i].substr(0, 200);
            // The chart sheet's pages begin with its title row.
            const std::string& text = p.texts[i];
            const size_t first = text.find_first_not_of(" \n");
            if (first == std::string::npos || text.compare(first, chartTitle.size(), chartTitle) != 0)
                continue;
            ++chartPages;
            // Two charts, or a school's last one: never a chart's cut-off edge.
            EXPECT_GT(ink.height, 0.3) << p.texts[i].substr(0, 200);
        }
        // Three schools with ten charts each (seven subjects and the total, the rates, the bands),
        // two to a page.
        EXPECT_EQ(chartPages, 15);
    }
}

// A school's own workbook of 分别导出 prints like the whole one: whole tables on A4 with the page
// footer, and none of another school's rows.
TEST(PrintedPages, ASchoolsOwnWorkbookPrintsLikeTheWholeOne) {
    for (const char* program : {"soffice", "pdftoppm", "pdftotext"}) {
        if (!found(program))
            GTEST_SKIP() << program << " not found: the printed pages are not checked (install "
                         << "libreoffice-calc-nogui and poppler-utils).";
    }
    TempDir dir;
    const std::string input = dir.file("示例考试-七年级.xlsx"), result = dir.file("result.xlsx");
    const std::string cli = quoted(VARNEX_CLI);
    ASSERT_TRUE(
        run(cli +
            " sample --grade 七年级 --schools 3 --classes-per-school 4 --students-per-class 40 --seed 2026"
            " -o " +
            quoted(input) + " --force > /dev/null 2>&1"));
    ASSERT_TRUE(
        run(cli + " export " + quoted(input) +
            " --teachers 教师任课表 --scores 七年级 --grade 七年级 --exam 示例考试 --split school --yes "
            "--force -o " +
            quoted(result) + " > /dev/null 2>&1"));
    std::vector<std::string> schools;
    for (const auto& entry : std::filesystem::directory_iterator(dir.file("result")))
        schools.push_back(entry.path().stem().string());
    std::sort(schools.begin(), schools.end());
    ASSERT_EQ(schools.size(), 3u);

    const Printout p = print(dir.file("result/" + schools[0] + ".xlsx"), dir.file("print"), "");
    ASSERT_EQ(p.failure, "");
    ASSERT_GT(p.pages.size(), 3u);
    ASSERT_EQ(p.texts.size(), p.pages.size());
    for (size_t i = 0; i < p.pages.size(); ++i) {
        SCOPED_TRACE("page " + std::to_string(i + 1));
        EXPECT_GT(inkedBox(p.pages[i]).width, 0.4) << p.texts[i].substr(0, 200);
        EXPECT_NE(p.texts[i].find("页，共"), std::string::npos) << "no page footer";
        for (size_t other = 1; other < schools.size(); ++other)
            EXPECT_EQ(p.texts[i].find(schools[other]), std::string::npos) << schools[other];
    }
}

}  // namespace
}  // namespace varnex::testing
