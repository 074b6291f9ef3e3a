#include "settings/unit_table.h"

namespace tessaly::settings {

const std::array<const char*, kUnitCount> kUnitTable = {
    "%",     "%LEL",  "%O2",    "‰",    "A",       "atm",  "bar",  "℃",     "cm",    "℉",     "g",
    "g/L",   "GJ/h",  "Hz",     "kA",   "kcal/m3", "kg",   "kg/h", "Kg/m3", "KHz",   "kJ",    "kJ/h",
    "km",    "km3/h", "kNm3/h", "kPa",  "kV",      "kW",   "kWh",  "L/h",   "m",     "m/min", "m/s",
    "m3/h",  "mA",    "mbar",   "mg/L", "MHz",     "MJ/h", "mm",   "mmH2O", "mmHg",  "MPa",   "mS/cm",
    "mV",    "MW",    "mΩcm",   "N",    "Nm3/h",   "NTU",  "Pa",   "PH",    "ppm",   "ppmH2", "ppmO2",
    "r/min", "RH",    "rpm",    "T",    "t/h",     "V",    "W",    "Wh",    "ug/Kg", "ug/L",  "uS/cm",
};

}  // namespace tessaly::settings
