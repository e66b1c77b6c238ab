// The built-in table of properties, units and constants.
//
// The order of the units is part of the stored data: a conversion token in
// a saved expression or program holds the two unit indexes, so a unit may
// be corrected but never moved, inserted or removed.  Within a property the
// abbreviations stay in alphabetic order (case ignored) and so do the
// properties, or the loader warns.
//
// Factors are exact where the unit has an exact definition in SI terms and
// otherwise carry every digit a double keeps; the constants are the current
// recommended values (exact where SI fixes them).
#include <string_view>

#include "tools/constants.h"

namespace qx {

namespace {

#define PROP(name) "Prop: " name "\r\n"
#define UNIT(abbr, name, factor, offset) "Unit: " abbr ", " name ", " factor ", " offset "\r\n"
#define CONS(name, unit, value) "Cons: " name ", " unit ", " value "\r\n"

constexpr char kTable[] =
    PROP("Area")
    UNIT("acre", "Acre", "4046.8564224", "0.0")
    UNIT("sq.cm", "Square Centimeter", "1.0e-4", "0.0")
    UNIT("sq.ft", "Square Feet", "0.09290304", "0.0")
    UNIT("sq.in", "Square Inch", "6.4516e-4", "0.0")
    UNIT("sq.km", "Square Kilometer", "1.0e6", "0.0")
    UNIT("sq.m", "Square Meter", "1.0", "0.0")
    UNIT("sq.mile", "Square Mile", "2589988.110336", "0.0")
    UNIT("sq.yard", "Square Yard", "0.83612736", "0.0")

    PROP("Distance")
    UNIT("Angstrom", "Angstrom", "1.0e-10", "0.0")
    UNIT("cm", "Centimeter", "0.01", "0.0")
    UNIT("cubit", "Cubit", "0.4572", "0.0")
    UNIT("fathom", "Fathom", "1.8288", "0.0")
    UNIT("ft", "Feet", "0.3048", "0.0")
    UNIT("furlong", "Furlong", "201.168", "0.0")
    UNIT("hand", "Hand", "0.1016", "0.0")
    UNIT("in", "Inch", "0.0254", "0.0")
    UNIT("km", "Kilometer", "1000.0", "0.0")
    UNIT("league", "League", "4828.032", "0.0")
    UNIT("light year", "Light Year", "9.4607304725808e15", "0.0")
    UNIT("m", "Meter", "1.0", "0.0")
    UNIT("micron", "Micron", "1.0e-6", "0.0")
    UNIT("mil", "Mil", "2.54e-5", "0.0")
    UNIT("mile", "Mile", "1609.344", "0.0")
    UNIT("mile(Naut)", "Nautical Mile", "1852.0", "0.0")
    UNIT("mm", "Millimeter", "0.001", "0.0")
    UNIT("parsec", "Parsec", "3.0856775814913673e16", "0.0")
    UNIT("rod", "Rod", "5.0292", "0.0")
    UNIT("yd", "Yard", "0.9144", "0.0")

    PROP("Electric Charge")
    UNIT("A-hr", "Ampere Hour", "3600.0", "0.0")
    UNIT("A-s", "Ampere Second", "1.0", "0.0")
    UNIT("C", "Coulomb", "1.0", "0.0")
    UNIT("F", "Faraday", "96485.33212", "0.0")

    PROP("Energy")
    UNIT("Btu", "British Thermal Unit", "1055.05585262", "0.0")
    UNIT("cal", "Gram Calorie", "4.1868", "0.0")
    UNIT("erg", "Erg", "1.0e-7", "0.0")
    UNIT("eV", "Electron Volt", "1.602176634e-19", "0.0")
    UNIT("ft.lb", "Foot Pound", "1.3558179483314003", "0.0")
    UNIT("g-cm", "Gram Centimeter", "9.80665e-5", "0.0")
    UNIT("J", "Joule", "1.0", "0.0")
    UNIT("kW-hr", "Kilowatt Hour", "3.6e6", "0.0")
    UNIT("N-m", "Newton Meter", "1.0", "0.0")
    UNIT("W-hr", "Watt Hour", "3600.0", "0.0")

    PROP("Force")
    UNIT("dyne", "Dyne", "1.0e-5", "0.0")
    UNIT("J/m", "Joule per Meter", "1.0", "0.0")
    UNIT("N", "Newton", "1.0", "0.0")

    PROP("Mass")
    UNIT("dram", "Dram", "3.8879346e-3", "0.0")
    UNIT("g", "Gram", "1.0e-3", "0.0")
    UNIT("grain", "Grain", "6.479891e-5", "0.0")
    UNIT("kg", "Kilogram", "1.0", "0.0")
    UNIT("lb(avdp)", "Avdp Pound", "0.45359237", "0.0")
    UNIT("lb(troy)", "Troy Pound", "0.3732417216", "0.0")
    UNIT("mg", "Milligram", "1.0e-6", "0.0")
    UNIT("oz(avdp)", "Avdp Ounce", "0.028349523125", "0.0")
    UNIT("oz(troy)", "Troy Ounce", "0.0311034768", "0.0")
    UNIT("tons(long)", "Long Tons", "1016.0469088", "0.0")
    UNIT("tons(metric)", "Metric Tons", "1000.0", "0.0")
    UNIT("tons(short)", "Short Tons", "907.18474", "0.0")

    PROP("Power")
    UNIT("Btu/hr", "British Thermal Unit per Hour", "0.2930710701722222", "0.0")
    UNIT("Btu/s", "British Thermal Unit per Second", "1055.05585262", "0.0")
    UNIT("cal/s", "Calorie per Second", "4.1868", "0.0")
    UNIT("erg/s", "Erg per Second", "1.0e-7", "0.0")
    UNIT("ft.lb/hr", "Foot Pound per Hour", "3.766160967587223e-4", "0.0")
    UNIT("ft.lb/min", "Foot Pound per Minute", "0.02259696580552334", "0.0")
    UNIT("ft.lb/s", "Foot Pound per Second", "1.3558179483314003", "0.0")
    UNIT("hp", "Horsepower", "745.6998715822702", "0.0")
    UNIT("J/s", "Joule per Second", "1.0", "0.0")
    UNIT("kW", "Kilowatt", "1000.0", "0.0")
    UNIT("W", "Watt", "1.0", "0.0")

    PROP("Pressure")
    UNIT("atm", "Atmosphere", "101325.0", "0.0")
    UNIT("bar", "Bar", "1.0e5", "0.0")
    UNIT("dyne/sq.cm", "Dyne per Square Centimeter", "0.1", "0.0")
    UNIT("dyne/sq.m", "Dyne per Square Meter", "1.0e-5", "0.0")
    UNIT("g/sq.cm", "Gram per Square Centimeter", "98.0665", "0.0")
    UNIT("g/sq.m", "Gram per Square Meter", "0.00980665", "0.0")
    UNIT("kg/sq.cm", "Kilogram per Square Centimeter", "98066.5", "0.0")
    UNIT("kg/sq.m", "Kilogram per Square Meter", "9.80665", "0.0")
    UNIT("lb/sq.ft", "Pound per Square Feet", "47.880258980335846", "0.0")
    UNIT("lb/sq.in", "Pound per Square Inch", "6894.757293168362", "0.0")
    UNIT("N/sq.m", "Newton per Square Meter", "1.0", "0.0")
    UNIT("Pa", "Pascal", "1.0", "0.0")
    UNIT("psi", "Pound per Square Inch", "6894.757293168362", "0.0")
    UNIT("torr", "Torr", "133.32236842105263", "0.0")

    PROP("Temperature")
    UNIT("C", "Celsius", "1.0", "-273.15")
    UNIT("F", "Fahrenheit", "0.5555555555555556", "-459.67")
    UNIT("K", "Kelvin", "1.0", "0.0")

    PROP("Time")
    UNIT("day", "Day", "86400.0", "0.0")
    UNIT("hr", "Hour", "3600.0", "0.0")
    UNIT("min", "Minute", "60.0", "0.0")
    UNIT("s", "Second", "1.0", "0.0")

    PROP("Velocity")
    UNIT("cm/hr", "Centimeter per Hour", "2.777777777777778e-6", "0.0")
    UNIT("cm/min", "Centimeter per Minute", "1.6666666666666666e-4", "0.0")
    UNIT("cm/s", "Centimeter per Second", "0.01", "0.0")
    UNIT("ft/hr", "Feet per Hour", "8.466666666666666e-5", "0.0")
    UNIT("ft/min", "Feet per Minute", "5.08e-3", "0.0")
    UNIT("ft/s", "Feet per Second", "0.3048", "0.0")
    UNIT("in/hr", "Inch per Hour", "7.055555555555556e-6", "0.0")
    UNIT("in/min", "Inch per Minute", "4.2333333333333334e-4", "0.0")
    UNIT("in/s", "Inch per Second", "0.0254", "0.0")
    UNIT("km/hr", "Kilometer per Hour", "0.2777777777777778", "0.0")
    UNIT("km/min", "Kilometer per Minute", "16.666666666666668", "0.0")
    UNIT("km/s", "Kilometer per Second", "1000.0", "0.0")
    UNIT("knots", "Knots", "0.5144444444444445", "0.0")
    UNIT("m/hr", "Meter per Hour", "2.777777777777778e-4", "0.0")
    UNIT("m/min", "Meter per Minute", "0.016666666666666666", "0.0")
    UNIT("m/s", "Meter per Second", "1.0", "0.0")
    UNIT("miles/min", "Miles per Minute", "26.8224", "0.0")
    UNIT("miles/s", "Miles per Second", "1609.344", "0.0")
    UNIT("mph", "Miles per Hour", "0.44704", "0.0")

    PROP("Volume (Dry)")
    UNIT("bushel", "Bushel", "0.03523907016688", "0.0")
    UNIT("cc", "Cubic Centimeter", "1.0e-6", "0.0")
    UNIT("cu.ft", "Cubic Feet", "0.028316846592", "0.0")
    UNIT("cu.in", "Cubic Inch", "1.6387064e-5", "0.0")
    UNIT("cu.m", "Cubic Meter", "1.0", "0.0")
    UNIT("cu.yd", "Cubic Yard", "0.764554857984", "0.0")
    UNIT("gal(dry)", "Dry Gallon", "4.40488377086e-3", "0.0")
    UNIT("quart(dry)", "Dry Quart", "1.101220942715e-3", "0.0")

    PROP("Volume (Fluid)")
    UNIT("cup", "Cup", "2.365882365e-4", "0.0")
    UNIT("fl.oz", "Fluid Ounce", "2.95735295625e-5", "0.0")
    UNIT("gal(fl)", "Fluid Gallon", "3.785411784e-3", "0.0")
    UNIT("l", "Liter", "1.0e-3", "0.0")
    UNIT("pint", "Pint", "4.73176473e-4", "0.0")
    UNIT("quart(fl)", "Fluid Quart", "9.46352946e-4", "0.0")
    UNIT("tablespoon", "Tablespoon", "1.478676478125e-5", "0.0")
    UNIT("teaspoon", "Teaspoon", "4.92892159375e-6", "0.0")

    CONS("Astronomical unit", "m", "1.495978707e11")
    CONS("Atomic mass unit", "kg", "1.66053906660e-27")
    CONS("Avogadro's number", "/mol", "6.02214076e23")
    CONS("Bohr magneton", "J/T", "9.2740100783e-24")
    CONS("Bohr radius", "m", "5.29177210903e-11")
    CONS("Boltzmann constant", "J/K", "1.380649e-23")
    CONS("Compton wavelength of electron", "m", "2.42631023867e-12")
    CONS("Compton wavelength of neutron", "m", "1.31959090581e-15")
    CONS("Compton wavelength of proton", "m", "1.32140985539e-15")
    CONS("e", "", "2.718281828459045")
    CONS("Electron charge", "C", "1.602176634e-19")
    CONS("Electron charge to mass ratio", "C/kg", "1.75882001076e11")
    CONS("Electron magnetic moment", "J/T", "9.2847647043e-24")
    CONS("Electron radius (classical)", "m", "2.8179403262e-15")
    CONS("Electron rest mass", "kg", "9.1093837015e-31")
    CONS("Electron volt", "J", "1.602176634e-19")
    CONS("Elementary charge", "C", "1.602176634e-19")
    CONS("Faraday constant", "C/mol", "9.648533212e4")
    CONS("Fine structure constant", "", "7.2973525693e-3")
    CONS("Fluxoid quantum", "Wb", "2.067833848e-15")
    CONS("Gravitational acceleration", "m/s2", "9.80665")
    CONS("Gravitational constant", "N m2/kg2", "6.67430e-11")
    CONS("Gyromagnetic ratio of proton", "1/(s T)", "2.6752218744e8")
    CONS("Josephson frequency-voltage ratio", "Hz/V", "4.835978484e14")
    CONS("Molar Gas constant", "J/(mol K)", "8.314462618")
    CONS("Muon magnetic moment", "J/T", "4.49044830e-26")
    CONS("Muon rest mass", "kg", "1.883531627e-28")
    CONS("Natural logarithm base", "", "2.7182818284590452")
    CONS("Neutron magnetic moment", "J/T", "9.6623651e-27")
    CONS("Neutron rest mass", "kg", "1.67492749804e-27")
    CONS("Nuclear magneton", "J/T", "5.0507837461e-27")
    CONS("Parsec", "m", "3.0856775814913673e16")
    CONS("Permeability of vacuum", "N/A2", "1.25663706212e-6")
    CONS("Permittivity of vacuum", "F/m", "8.8541878128e-12")
    CONS("Pi", "", "3.141592653589793")
    CONS("Planck's constant", "J s", "6.62607015e-34")
    CONS("Proton magnetic moment", "J/T", "1.41060679736e-26")
    CONS("Proton rest mass", "kg", "1.67262192369e-27")
    CONS("Quantum Hall resistance", "ohm", "2.581280745e4")
    CONS("Quantum of circulation", "m2/s", "3.6369475516e-4")
    CONS("Rydberg constant", "/m", "1.0973731568160e7")
    CONS("Speed of light in vacuum", "m/s", "2.99792458e8")
    CONS("Standard volume of ideal gas", "m3/mol", "2.241396954e-2")
    CONS("Stefan-Boltzmann constant", "W/(m2 K4)", "5.670374419e-8");

#undef PROP
#undef UNIT
#undef CONS

}  // namespace

std::string_view builtin_table_text() { return {kTable, sizeof kTable - 1}; }

}  // namespace qx
