#include "adif/adif_band.h"

namespace {

struct Band {
  std::string_view Name;
  std::int64_t LowHz;
  std::int64_t HighHz;
};

constexpr std::int64_t kMHz = 1'000'000;

// ADIF 3.1.4's Band enumeration, lower and upper edges in Hz.
constexpr Band kBands[] = {
    {"2190m", 135'700, 137'800},
    {"630m", 472'000, 479'000},
    {"560m", 501'000, 504'000},
    {"160m", 1'800'000, 2'000'000},
    {"80m", 3'500'000, 4'000'000},
    {"60m", 5'060'000, 5'450'000},
    {"40m", 7'000'000, 7'300'000},
    {"30m", 10'100'000, 10'150'000},
    {"20m", 14'000'000, 14'350'000},
    {"17m", 18'068'000, 18'168'000},
    {"15m", 21'000'000, 21'450'000},
    {"12m", 24'890'000, 24'990'000},
    {"10m", 28'000'000, 29'700'000},
    {"8m", 40 * kMHz, 45 * kMHz},
    {"6m", 50 * kMHz, 54 * kMHz},
    {"5m", 54'000'001, 69'900'000},
    {"4m", 70 * kMHz, 71 * kMHz},
    {"2m", 144 * kMHz, 148 * kMHz},
    {"1.25m", 222 * kMHz, 225 * kMHz},
    {"70cm", 420 * kMHz, 450 * kMHz},
    {"33cm", 902 * kMHz, 928 * kMHz},
    {"23cm", 1240 * kMHz, 1300 * kMHz},
    {"13cm", 2300 * kMHz, 2450 * kMHz},
    {"9cm", 3300 * kMHz, 3500 * kMHz},
    {"6cm", 5650 * kMHz, 5925 * kMHz},
    {"3cm", 10000 * kMHz, 10500 * kMHz},
    {"1.25cm", 24000 * kMHz, 24250 * kMHz},
    {"6mm", 47000 * kMHz, 47200 * kMHz},
    {"4mm", 75500 * kMHz, 81000 * kMHz},
    {"2.5mm", 119980 * kMHz, 123000 * kMHz},
    {"2mm", 134000 * kMHz, 149000 * kMHz},
    {"1mm", 241000 * kMHz, 250000 * kMHz},
    {"submm", 300000 * kMHz, 7500000 * kMHz},
};

}  // namespace

std::string_view AdifBand(std::int64_t hz) {
  for (const Band& band : kBands) {
    if (hz >= band.LowHz && hz <= band.HighHz) return band.Name;
  }
  return {};
}
