// The tools as the face reaches them: the MENU items, the constants file
// kept in the data folder (written whole or not at all), adding a constant
// through the alpha keyboard, deleting one, and values inserted from the
// periodic table.
#include "calculator_fixture.h"

#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "panel/tools_panel.h"
#include "tools/constants.h"
#include "tools/tvm.h"

namespace qx {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

std::string read(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}
void write(const std::string& path, const std::string& text) {
    std::ofstream f(path, std::ios::binary);
    f << text;
}
int count_of(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

class ToolsPanel : public CalculatorFixture {
protected:
    // Each test starts without a constants file, unless it writes one.
    void prepare() override {
        remove_file(constants_file_path());
        if (!user_file.empty()) write(constants_file_path(), user_file);
    }
    void answer(const std::string& button, const Fields& fields = {}) { window.push_answer({button, fields}); }
    // Answers are taken in order: the MENU's list first, then the tool's
    // dialogs, queued after this and before key(47).
    void menu_item(const std::string& item) { answer("OK", {{"Menu Item", item}}); }
    // Setup Options -> Edit Constants, then the action on the constant; the
    // answers after it (a question) are queued before key(48).
    void edit_constant(const std::string& action, const std::string& name = "") {
        answer("Edit Constants");
        Fields f{{"Action", action}};
        if (!name.empty()) f.push_back({"Constant", name});
        answer("OK", f);
    }
    void alpha_text(const std::string& text) {
        type(text);
        press(KEY_RETURN);
    }
    std::string file() const { return read(constants_file_path()); }

    std::string user_file;
};

TEST_F(ToolsPanel, TheFirstStartWritesTheBuiltInConstants) {
    const std::string text = file();
    EXPECT_EQ(count_of(text, "Cons: "), 44);
    EXPECT_EQ(count_of(text, "\r\n"), 44);
    EXPECT_NE(text.find("Cons: Planck's constant, J s, 6.62607015e-34\r\n"), std::string::npos);
}

class ToolsPanelEmptyFile : public ToolsPanel {
protected:
    void prepare() override {
        user_file = "\r\n\r\nnot a constant\r\n";
        ToolsPanel::prepare();
    }
};

TEST_F(ToolsPanelEmptyFile, AFileWithoutConstantsFallsBackToTheBuiltIns) {
    EXPECT_EQ(g_tables.constant_count, 44);
    EXPECT_EQ(count_of(file(), "Cons: "), 44);
}

TEST_F(ToolsPanel, AddingAConstantKeepsItInTheFileSorted) {
    type("9.81=");
    edit_constant("Add Constant");
    key(48);
    ASSERT_TRUE(g_alpha.shown);
    alpha_text("g0");
    alpha_text("m/s2");
    EXPECT_FALSE(g_alpha.shown);
    EXPECT_EQ(g_tables.constant_count, 45);
    EXPECT_NE(file().find("Cons: g0, m/s2, 9.81\r\n"), std::string::npos);
    // The list shows it sorted into place, case ignored.
    int at = -1;
    for (int k = 0; k < g_tables.constant_count; ++k)
        if (std::string(g_tables.constants[k].name) == "g0") at = k;
    ASSERT_GT(at, 0);
    EXPECT_STREQ(g_tables.constants[at - 1].name, "Fluxoid quantum");
    EXPECT_STREQ(g_tables.constants[at + 1].name, "Gravitational acceleration");
}

TEST_F(ToolsPanel, AddingRefusesNamesInUseAndTheFieldSeparator) {
    type("2=");
    edit_constant("Add Constant");
    key(48);
    alpha_text("pi");
    alpha_text("");
    EXPECT_TRUE(logged("Constant name in use"));
    log.clear();
    edit_constant("Add Constant");
    key(48);
    alpha_text("a, b");
    EXPECT_TRUE(logged("cannot contain"));
    EXPECT_FALSE(g_alpha.shown);   // refused at the name: no unit is asked for
    EXPECT_EQ(g_tables.constant_count, 44);
    EXPECT_EQ(count_of(file(), "Cons: "), 44);
}

class ToolsPanelOneConstant : public ToolsPanel {
protected:
    void prepare() override {
        user_file = "Cons: g, , 9.81\r\n";
        ToolsPanel::prepare();
    }
};

TEST_F(ToolsPanelOneConstant, DeletingTheLastConstantRestoresTheBuiltIns) {
    ASSERT_EQ(g_tables.constant_count, 1);
    edit_constant("Delete Constant", "g");
    answer("Yes");
    key(48);
    EXPECT_TRUE(logged("Delete Constant: g?"));
    EXPECT_EQ(g_tables.constant_count, 44);
    EXPECT_EQ(count_of(file(), "Cons: "), 44);
}

TEST_F(ToolsPanelOneConstant, NoKeepsTheConstant) {
    edit_constant("Delete Constant", "g");
    answer("No");
    key(48);
    EXPECT_EQ(g_tables.constant_count, 1);
    EXPECT_EQ(file(), "Cons: g, , 9.81\r\n");
}

TEST_F(ToolsPanel, AFailedSaveKeepsTheOldFileAndTheListShown) {
    const std::string old = file();
    // The temporary file cannot be made, so the write fails before the rename.
    const std::string blocker = constants_file_path() + ".tmp-" + std::to_string(getpid());
    ASSERT_EQ(mkdir(blocker.c_str(), 0755), 0);
    type("3=");
    edit_constant("Add Constant");
    key(48);
    alpha_text("three");
    alpha_text("");
    rmdir(blocker.c_str());
    EXPECT_TRUE(logged("The constants could not be saved"));
    EXPECT_EQ(file(), old);
    EXPECT_EQ(g_tables.constant_count, 44);
}

TEST_F(ToolsPanel, MenuConstantsAndConversionsInsertIntoTheLine) {
    menu_item("Constants");
    answer("OK", {{"Constant", "Speed of light in vacuum"}});
    key(47);
    type("=");
    EXPECT_EQ(result(), "299792458");
    type("5");
    menu_item("Conversions");
    answer("OK", {{"Property", "Distance"}, {"From", "ft (Feet)"}, {"To", "m (Meter)"}});
    key(47);
    type("=");
    EXPECT_EQ(result(), "1.524");
    type("100");
    menu_item("Conversions");
    answer("OK", {{"Property", "Temperature"}, {"From", "C (Celsius)"}, {"To", "F (Fahrenheit)"}});
    key(47);
    type("=");
    EXPECT_EQ(result(), "212");
}

TEST_F(ToolsPanel, ElementsLeadToThePeriodicTableAndBackWithAValue) {
    menu_item("Constants");
    answer("Elements");
    key(47);
    ASSERT_EQ(g_settings.calculator_mode, MODE_PERIODIC);
    // Iron is key 27 (atomic number + 1); its row 2 is the atomic number.
    answer("Select Constant", {{"Property", "#2"}});
    key(27);
    EXPECT_EQ(g_settings.calculator_mode, MODE_COMP);
    type("=");
    EXPECT_EQ(result(), "26");
}

TEST_F(ToolsPanel, TheCellAfterTheLastElementDoesNothing) {
    menu_item("Periodic Table");
    key(47);
    ASSERT_EQ(g_settings.calculator_mode, MODE_PERIODIC);
    const std::size_t before = log.size();
    key(111);
    EXPECT_EQ(log.size(), before);   // no dialog opened
    EXPECT_EQ(g_settings.calculator_mode, MODE_PERIODIC);
}

TEST_F(ToolsPanel, TvmKeepsItsValuesForTheRun) {
    menu_item("TVM Solver");
    answer("Solve PMT", {{"N", "10"}, {"I%", "0"}, {"PV", "1000"}, {"FV", "0"}});
    answer("Exit");
    key(47);
    // Opened again, it shows what it had (and Exit reads nothing).
    menu_item("TVM Solver");
    answer("Exit");
    key(47);
    EXPECT_DOUBLE_EQ(g_tvm.v[TVM_PMT], -100.0);
}

}  // namespace
}  // namespace qx
