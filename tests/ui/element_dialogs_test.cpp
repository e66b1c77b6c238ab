// "Element Information" and "Element Data Table" answered through a
// headless window.
#include "calculator_fixture.h"
#include "frame_text.h"

#include <string>
#include <vector>

#include "dialogs/element_dialogs.h"
#include "platform/font.h"

namespace qx {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

class ElementDialogs : public CalculatorFixture {
protected:
    void answer(const std::string& button, const Fields& fields = {}, Surface* shown = nullptr) {
        ScriptedAnswer a{button, fields};
        if (shown) a.on_shown = [shown](const Surface& f) { *shown = f; };
        window.push_answer(a);
    }
};

struct InsertCase {
    int index;
    std::string row, text;
};

TEST_F(ElementDialogs, SelectConstantReturnsTheRowsNumber) {
    const InsertCase cases[] = {
        {25, "#2", "26"},     {25, "#3", "55.845"}, {25, "#6", "7.874"}, {0, "#6", "0.0899"},
        {0, "#4", "-252.87"}, {42, "#3", "98"},     {78, "#18", "2.309"}, {108, "#2", "109"},
    };
    for (const InsertCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.index << " " << c.row);
        answer("Select Constant", {{"Property", c.row}});
        std::string text = "untouched";
        EXPECT_TRUE(element_information_dialog(c.index, text));
        EXPECT_EQ(text, c.text);
    }
    EXPECT_FALSE(logged("unavailable"));
}

// Rows without a number keep the insert button disabled: the scripted press
// is refused and the default OK closes the dialog with nothing.
TEST_F(ElementDialogs, NothingToInsertKeepsSelectConstantDisabled) {
    const InsertCase cases[] = {{25, "#0", ""}, {25, "#1", ""}, {25, "#7", ""},  {25, "#10", ""},
                                {25, "#11", ""}, {25, "#12", ""}, {108, "#4", ""}, {1, "#9", ""}};
    for (const InsertCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.index << " " << c.row);
        log.clear();
        answer("Select Constant", {{"Property", c.row}});
        std::string text = "untouched";
        EXPECT_FALSE(element_information_dialog(c.index, text));
        EXPECT_EQ(text, "untouched");
        EXPECT_TRUE(logged("button \"Select Constant\" is unavailable"));
    }
}

TEST_F(ElementDialogs, OkInsertsNothingAndShowsTheWholeRow) {
    Surface shown;
    answer("OK", {{"Property", "#10"}}, &shown);
    std::string text = "untouched";
    EXPECT_FALSE(element_information_dialog(85, text));   // radon
    EXPECT_EQ(text, "untouched");
    // The configuration is too wide for the list, but is shown whole below it.
    EXPECT_TRUE(shows_text(shown, "4f14,5d10,6s2,6p6"));
    std::string unused;
    for (int bad : {-1, 109}) EXPECT_FALSE(element_information_dialog(bad, unused));
}

TEST_F(ElementDialogs, DataTableDetailsInsertThroughTheInformation) {
    Surface table;
    answer("Details", {{"Property", "Density"}, {"Element", "26"}}, &table);
    answer("Select Constant", {{"Property", "#6"}});
    std::string text;
    EXPECT_TRUE(element_data_table_dialog(text));
    EXPECT_EQ(text, "7.874");
    // The chosen property fills the column and the line under the list.
    EXPECT_TRUE(shows_text(table, "Iron: 7.874 g/cm\xAC"));
    EXPECT_TRUE(shows_text(table, "Density"));
    EXPECT_FALSE(logged("no control"));
}

TEST_F(ElementDialogs, DataTableClosesWithoutInserting) {
    struct Case { std::vector<ScriptedAnswer> answers; };
    const Case cases[] = {
        {{{"Close", {{"Element", "79"}}}}},
        // Details left with OK: the table stays open for the next answer.
        {{{"Details", {{"Element", "79"}}}, {"OK", {{"Property", "#3"}}}, {"Close"}}},
        {{{"Details", {{"Property", "Melting Point"}}}, {"OK"}, {"Close", {{"Property", "Atomic Radius"}}}}},
    };
    for (const Case& c : cases) {
        for (const ScriptedAnswer& a : c.answers) window.push_answer(a);
        std::string text = "untouched";
        EXPECT_FALSE(element_data_table_dialog(text));
        EXPECT_EQ(text, "untouched");
        ScriptedAnswer left;
        EXPECT_FALSE(window.next_answer(left)) << "an answer was left over";
    }
    EXPECT_FALSE(logged("no control"));
    EXPECT_FALSE(logged("bad value"));
}

}  // namespace
}  // namespace qx
