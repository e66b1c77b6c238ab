// "Select Constant", "Edit Constant" and "Select Conversion", answered the
// way scripts answer them.
#include "calculator_fixture.h"
#include "frame_text.h"

#include <string>

#include "dialogs/constants_dialogs.h"
#include "platform/font.h"
#include "platform/widgets.h"
#include "tools/constants.h"

namespace qx {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

class ConstantsDialogs : public CalculatorFixture {
protected:
    void SetUp() override {
        CalculatorFixture::SetUp();
        load_tables(nullptr);
    }
    void answer(const std::string& button, const Fields& fields = {}) { window.push_answer({button, fields}); }
    // As answer(), and keeps the frame the answer left.
    void answer_shown(const std::string& button, const Fields& fields, Surface& shown) {
        ScriptedAnswer a{button, fields};
        a.on_shown = [&shown](const Surface& f) { shown = f; };
        window.push_answer(a);
    }
    int unit(const char* abbreviation, int property) {
        for (int u : property_units(property))
            if (std::string(g_tables.units[u].abbreviation) == abbreviation) return u;
        return -1;
    }
};

TEST_F(ConstantsDialogs, PickerInsertsTheValueTextAndRemembersIt) {
    std::string value = "untouched";
    answer("OK", {{"Constant", "Planck's constant"}});
    EXPECT_EQ(select_constant_dialog(value), CONSTANT_CHOSEN);
    EXPECT_EQ(value, "6.62607015e-34");
    // Opened again and confirmed at once: the same constant.
    answer("OK");
    EXPECT_EQ(select_constant_dialog(value), CONSTANT_CHOSEN);
    EXPECT_EQ(value, "6.62607015e-34");

    value = "untouched";
    answer("Cancel", {{"Constant", "Pi"}});
    EXPECT_EQ(select_constant_dialog(value), CONSTANT_CANCELLED);
    answer("Elements");
    EXPECT_EQ(select_constant_dialog(value), CONSTANT_ELEMENTS);
    EXPECT_EQ(value, "untouched");
}

TEST_F(ConstantsDialogs, PickerShowsTheValueWithTheDecimalMark) {
    const std::string user = "Cons: g, , 9.81\r\nCons: h, J s, 6.62607015e-34\r\n";
    load_tables(&user);
    g_settings.decimal_mark = 1;
    const struct { const char* name; const char* shown; } cases[] = {{"g", "9,81"}, {"h", "6,62607015e-34 (J s)"}};
    for (const auto& c : cases) {
        Surface frame;
        answer_shown("Cancel", {{"Constant", c.name}}, frame);
        std::string value;
        select_constant_dialog(value);
        EXPECT_TRUE(shows_text(frame, c.shown)) << c.shown;
    }
}

TEST_F(ConstantsDialogs, EditorReturnsTheConstantAndTheAction) {
    std::string name;
    ConstantAction action = CONSTANT_DELETE;
    answer("OK", {{"Constant", "Bohr radius"}});
    ASSERT_TRUE(edit_constant_dialog(name, action));
    EXPECT_EQ(name, "Bohr radius");
    EXPECT_EQ(action, CONSTANT_ADD);
    answer("OK", {{"Constant", "e"}, {"Action", "Delete Constant"}});
    ASSERT_TRUE(edit_constant_dialog(name, action));
    EXPECT_EQ(name, "e");
    EXPECT_EQ(action, CONSTANT_DELETE);
    answer("Cancel");
    EXPECT_FALSE(edit_constant_dialog(name, action));
}

TEST_F(ConstantsDialogs, ConversionByPropertyAndUnitTexts) {
    const int distance = 1, temperature = 8;
    ASSERT_STREQ(g_tables.properties[distance].name, "Distance");
    ASSERT_STREQ(g_tables.properties[temperature].name, "Temperature");
    answer("OK", {{"Property", "Distance"}, {"From", "ft (Feet)"}, {"To", "m (Meter)"}});
    EXPECT_EQ(select_conversion_dialog(), conversion_token(unit("ft", distance), unit("m", distance)));
    // The last choice comes back.
    answer("OK");
    EXPECT_EQ(select_conversion_dialog(), conversion_token(unit("ft", distance), unit("m", distance)));
    answer("OK", {{"Property", "Temperature"}, {"From", "C (Celsius)"}, {"To", "F (Fahrenheit)"}});
    EXPECT_EQ(select_conversion_dialog(), conversion_token(unit("C", temperature), unit("F", temperature)));

    // A new property clears the units, and OK waits for both.
    answer("OK", {{"Property", "Mass"}, {"From", "kg (Kilogram)"}});
    EXPECT_EQ(select_conversion_dialog(), -1);
    EXPECT_TRUE(logged("button \"OK\" is unavailable"));
    answer("Cancel", {{"Property", "Time"}, {"From", "s (Second)"}, {"To", "hr (Hour)"}});
    EXPECT_EQ(select_conversion_dialog(), -1);
    answer("OK", {{"Property", "Distance"}, {"From", "C (Celsius)"}});
    EXPECT_EQ(select_conversion_dialog(), -1);
}

}  // namespace
}  // namespace qx
