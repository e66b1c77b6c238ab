// The choice dialogs keys open, answered through a headless window the way
// scripts answer them: by the labels of their controls and the texts of
// their buttons.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/memory.h"
#include "engine/settings.h"
#include "panel/catalogue.h"
#include "panel/face.h"
#include "panel/key_dialogs.h"
#include "panel/resources.h"
#include "panel/ui.h"
#include "platform/window_headless.h"

namespace qx {
namespace {

class KeyDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset_settings();
        window.set_logger([this](const std::string& line) { log.push_back(line); });
        ui().window = &window;
    }
    void TearDown() override {
        ui().window = nullptr;
        reset_settings();
    }

    bool logged(const std::string& part) const {
        for (const std::string& line : log)
            if (line.find(part) != std::string::npos) return true;
        return false;
    }

    HeadlessWindow window;
    std::vector<std::string> log;
};

using Fields = std::vector<std::pair<std::string, std::string>>;

struct VariableRow {
    const char* button;
    Fields fields;
    int index;
    bool by_value;
};

TEST_F(KeyDialogsTest, RecallGivesTheMemoryIndexOfTheChosenVariable) {
    const VariableRow rows[] = {
        {"OK", {{"Variable Group", "R0-R9"}, {"Variable", "R0"}}, 0, false},
        {"OK", {{"Variable Group", "R0-R9"}, {"Variable", "R9"}}, 9, false},
        {"OK", {{"Variable Group", "Upper Case"}, {"Variable", "A"}}, 10, false},
        {"OK", {{"Variable Group", "Upper Case"}, {"Variable", "Z"}}, 35, false},
        {"OK", {{"Variable Group", "Lower Case"}, {"Variable", "a"}}, 36, false},
        {"OK", {{"Variable Group", "Lower Case"}, {"Variable", "z"}}, 61, false},
        {"OK", {{"Variable Group", "Greek"}, {"Variable", "#0"}}, 62, false},
        {"OK", {{"Variable Group", "Greek"}, {"Variable", variable_name(MEM_THETA)}}, MEM_THETA, false},
        {"OK", {{"Variable Group", "Greek"}, {"Variable", "#27"}}, 89, false},
        {"OK", {{"Variable Group", "Matrix"}, {"Variable", "[A]"}}, 90, false},
        {"OK", {{"Variable Group", "Matrix"}, {"Variable", "[J]"}}, 99, false},
        {"OK", {{"Variable Group", "[Matrix Ans]"}}, 1299, false},
        {"OK", {{"Variable Group", "Upper Case"}, {"Variable", "X"}, {"By Value?", "yes"}}, 33, true},
        {"OK", {{"Variable Group", "Matrix"}, {"Variable", "[C]"}, {"By Value?", "1"}}, 92, true},
        {"Cancel", {{"Variable Group", "Upper Case"}, {"Variable", "X"}}, -1, false},
    };
    for (const VariableRow& r : rows) {
        SCOPED_TRACE(r.fields.front().second + " " + r.fields.back().second);
        window.push_answer({r.button, r.fields});
        const VariableChoice c = select_variable(false);
        EXPECT_EQ(c.index, r.index);
        EXPECT_EQ(c.by_value, r.by_value);
    }
    EXPECT_FALSE(logged("bad value"));
    EXPECT_FALSE(logged("no control"));
}

TEST_F(KeyDialogsTest, StoreHasNoAnswerMatrixAndNoByValue) {
    const VariableRow rows[] = {
        {"OK", {{"Variable Group", "R0-R9"}, {"Variable", "R3"}}, 3, false},
        {"OK", {{"Variable Group", "Lower Case"}, {"Variable", "q"}}, 52, false},
        {"OK", {{"Variable Group", "Greek"}, {"Variable", "#1"}}, 63, false},
        {"OK", {{"Variable Group", "Matrix"}, {"Variable", "[B]"}}, 91, false},
        {"Cancel", {{"Variable Group", "Matrix"}, {"Variable", "[B]"}}, -1, false},
    };
    for (const VariableRow& r : rows) {
        window.push_answer({r.button, r.fields});
        const VariableChoice c = select_variable(true);
        EXPECT_EQ(c.index, r.index);
        EXPECT_FALSE(c.by_value);
    }
    EXPECT_FALSE(logged("bad value"));

    log.clear();
    window.push_answer({"OK", {{"Variable Group", "[Matrix Ans]"}}});
    EXPECT_NE(select_variable(true).index, 1299);
    EXPECT_TRUE(logged("bad value \"[Matrix Ans]\""));

    log.clear();
    window.push_answer({"OK", {{"By Value?", "1"}}});
    EXPECT_FALSE(select_variable(true).by_value);
    EXPECT_TRUE(logged("no control \"By Value?\""));
}

TEST_F(KeyDialogsTest, ANewGroupStartsAtItsFirstVariable) {
    const struct {
        const char* group;
        int index;
    } rows[] = {{"R0-R9", 0}, {"Upper Case", 10}, {"Lower Case", 36}, {"Greek", 62}, {"Matrix", 90}};
    for (bool store : {false, true})
        for (const auto& r : rows) {
            // Start elsewhere, then change the group only.
            window.push_answer({"OK", {{"Variable Group", r.group}, {"Variable", "#5"}}});
            select_variable(store);
            window.push_answer(
                {"OK", {{"Variable Group", r.group == std::string("Greek") ? "Matrix" : "Greek"}}});
            select_variable(store);
            window.push_answer({"OK", {{"Variable Group", r.group}}});
            EXPECT_EQ(select_variable(store).index, r.index) << r.group;
        }
}

TEST_F(KeyDialogsTest, EachVariableDialogReopensWhereItWasLeft) {
    window.push_answer({"OK", {{"Variable Group", "Lower Case"}, {"Variable", "k"}}});
    EXPECT_EQ(select_variable(false).index, 46);
    window.push_answer({"OK", {{"Variable Group", "R0-R9"}, {"Variable", "R4"}}});
    EXPECT_EQ(select_variable(true).index, 4);
    window.push_answer({"OK", {}});
    EXPECT_EQ(select_variable(false).index, 46);
    window.push_answer({"OK", {}});
    EXPECT_EQ(select_variable(true).index, 4);
    // A cancelled dialog leaves the place as it was.
    window.push_answer({"Cancel", {{"Variable Group", "Matrix"}}});
    EXPECT_EQ(select_variable(false).index, -1);
    window.push_answer({"OK", {}});
    EXPECT_EQ(select_variable(false).index, 46);
}

TEST_F(KeyDialogsTest, WithoutAWindowNothingIsChosen) {
    ui().window = nullptr;
    EXPECT_EQ(select_variable(false).index, -1);
    EXPECT_EQ(select_symbol(false), -1);
    EXPECT_EQ(select_menu_item(), -1);
    EXPECT_EQ(select_uv_variable(), -1);
}

TEST_F(KeyDialogsTest, SymbolsAreThoseOfTheSet) {
    const struct {
        bool file_name;
        const char* button;
        const char* symbol;
        int index;
    } rows[] = {
        {false, "OK", "(", 0},   {false, "OK", "*", 8},   {false, "OK", "/", 20},
        {false, "OK", "@", 29},  {false, "OK", "#29", 29}, {true, "OK", "(", 0},
        {true, "OK", "=", 8},    {true, "OK", "#", 16},   {true, "OK", "@", 23},
        {true, "OK", "#24", 24}, {false, "Cancel", "@", -1}, {true, "Cancel", "(", -1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.symbol);
        window.push_answer({r.button, {{"Symbol", r.symbol}}});
        const int s = select_symbol(r.file_name);
        EXPECT_EQ(s, r.index);
        if (s >= 0 && r.symbol[0] != '#') {
            const char* set = alpha_character_set(r.file_name ? 0 : 2);
            EXPECT_EQ(set[63 + s], r.symbol[0]);
        }
    }
    EXPECT_FALSE(logged("bad value"));
}

TEST_F(KeyDialogsTest, FileNameSymbolsEndBeforeTheFullSetsDo) {
    for (const char* beyond : {"#25", "#29", "/", "\\", "?", "*", ":"}) {
        log.clear();
        window.push_answer({"OK", {{"Symbol", beyond}}});
        select_symbol(true);
        EXPECT_TRUE(logged("bad value")) << beyond;
    }
}

TEST_F(KeyDialogsTest, MenuItemsInTheirOrderWithTheirDescriptions) {
    const struct {
        const char* title;
        const char* description;
    } items[MENU_ITEM_COUNT] = {
        {"COMP Mode", "Standard scientific computations."},
        {"STATS Mode", "Statistical calculations."},
        {"BASE-n Mode", "Binary, octal, decimal and hexadecimal calculations."},
        {"MATRIX Mode", "Linear algebra matrix computations."},
        {"PROG Mode", "Create and edit programs."},
        {"PLOT Mode", "Function, polar, parametric and 3D plotting."},
        {"TVM Solver", "Solve time value of money problems."},
        {"Constants", "Scientific constants."},
        {"Conversions", "Conversion from one unit to another."},
        {"Periodic Table", "View the periodic table of the elements."},
        {"Plot Samples",
         "Sample plots for each plot type (function, polar, parametric, 3D cartesian, 3D "
         "cylindrical, 3D spherical)."},
        {"Stopwatch", "Time events."},
        {"View Help File", "View the help file."},
    };
    for (int k = 0; k < MENU_ITEM_COUNT; ++k) {
        SCOPED_TRACE(k);
        EXPECT_STREQ(menu_item_title(k), items[k].title);
        EXPECT_STREQ(menu_item_description(k), items[k].description);
        window.push_answer({"OK", {{"Menu Item", items[k].title}}});
        EXPECT_EQ(select_menu_item(), k);
    }
    EXPECT_STREQ(menu_item_title(13), "");
    EXPECT_STREQ(menu_item_title(-1), "");
    EXPECT_FALSE(logged("bad value"));
}

TEST_F(KeyDialogsTest, MenuCancelAndReopening) {
    window.push_answer({"OK", {{"Menu Item", "Stopwatch"}}});
    EXPECT_EQ(select_menu_item(), 11);
    window.push_answer({"Cancel", {{"Menu Item", "TVM Solver"}}});
    EXPECT_EQ(select_menu_item(), -1);
    // OK straight away takes the item chosen last time.
    window.push_answer({"OK", {}});
    EXPECT_EQ(select_menu_item(), 11);
    window.push_answer({"OK", {{"Menu Item", "#0"}}});
    EXPECT_EQ(select_menu_item(), 0);
}

TEST_F(KeyDialogsTest, PlotVariableButtons) {
    const struct {
        const char* button;
        int choice;
    } rows[] = {{"u", 0}, {"v", 1}, {"Cancel", -1}, {"U", 0}};
    for (const auto& r : rows) {
        window.push_answer({r.button, {}});
        EXPECT_EQ(select_uv_variable(), r.choice) << r.button;
    }
    EXPECT_FALSE(logged("no button"));
}

TEST_F(KeyDialogsTest, PlotHintNamesTheKeys) {
    plot_hint_note();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0],
              "box Note: While in COMP mode an expression can be entered for plotting. Use the "
              "<orange shift> 'x,t,\x97...' key to enter the dependent variable. Use the <blue "
              "shift> 'Plot' key to enter the expression into the function list for plotting. -> OK");
}

// --- the help file that "View Help File" opens ---------------------------

std::string help_text() {
    const ResourceEntry* help = find_resource("HELP_HTML", RES_TEXT);
    if (!help) return {};
    return std::string(reinterpret_cast<const char*>(help->data), help->size);
}

TEST(HelpFile, NamesEveryMenuItemWithItsDescription) {
    const std::string html = help_text();
    ASSERT_FALSE(html.empty());
    for (int k = 0; k < MENU_ITEM_COUNT; ++k) {
        EXPECT_NE(html.find(std::string(">") + menu_item_title(k) + "<"), std::string::npos) << k;
        EXPECT_NE(html.find(menu_item_description(k)), std::string::npos) << k;
    }
}

TEST(HelpFile, ListsEveryCatalogueFunctionUnderItsCategory) {
    const std::string html = help_text();
    for (int category = 0; category < CATALOGUE_CATEGORIES; ++category) {
        const std::string heading = std::string("<h3>") + catalogue_category_name(category) + "</h3>";
        const std::size_t start = html.find(heading);
        ASSERT_NE(start, std::string::npos) << heading;
        const std::size_t end = html.find("<h", start + heading.size());
        const std::string section = html.substr(start, end - start);
        int listed = 0;
        for (const CatalogueEntry& e : catalogue_entries()) {
            if (e.category != category) continue;
            ++listed;
            EXPECT_NE(section.find(std::string(">") + e.title + "</td>"), std::string::npos)
                << e.title;
        }
        EXPECT_GT(listed, 0);
    }
}

TEST(HelpFile, ExplainsEveryErrorText) {
    const std::string html = help_text();
    for (int code = 0; code <= 32; ++code) {
        const std::string row = "<tr><td>" + std::to_string(code) + "</td><td>" +
                                error_code_text(code) + "</td>";
        EXPECT_NE(html.find(row), std::string::npos) << row;
    }
    EXPECT_NE(html.find(error_code_text(33)), std::string::npos);
}

TEST(HelpFile, StandsAlone) {
    // Opened from a local file by any browser: nothing may be fetched or run.
    const std::string html = help_text();
    for (const char* banned : {"<script", "http:", "https:", "src=", "@import", "url(", "<link",
                               "<iframe", "onclick", "onload"})
        EXPECT_EQ(html.find(banned), std::string::npos) << banned;
    EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
}

}  // namespace
}  // namespace qx
