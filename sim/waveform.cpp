#include "waveform.h"

#include <cmath>
#include <numbers>
#include <string>

#include "base/command_line.h"

namespace tessaly::sim {
namespace {

struct KindSyntax {
  std::string_view name;
  Waveform::Kind kind;
  int required;
  int allowed;
};

constexpr KindSyntax kKinds[] = {
    {"sine", Waveform::Kind::Sine, 2, 4},
    {"ramp", Waveform::Kind::Ramp, 2, 2},
    {"square", Waveform::Kind::Square, 3, 3},
    {"constant", Waveform::Kind::Constant, 1, 1},
};

}  // namespace

float Waveform::At(uint64_t sample) const {
  const double n = static_cast<double>(sample);
  switch (kind) {
    case Kind::Sine: return static_cast<float>(p[2] + p[0] * std::sin(2.0 * std::numbers::pi * n / p[1] + p[3]));
    case Kind::Ramp: return static_cast<float>(p[0] + p[1] * n);
    case Kind::Square: return static_cast<float>(std::fmod(n, p[2]) < p[2] / 2.0 ? p[0] : p[1]);
    case Kind::Constant: break;
  }
  return static_cast<float>(p[0]);
}

std::optional<Waveform> ParseWaveform(std::string_view text) {
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::string_view name = text.substr(0, colon);
  for (const KindSyntax& syntax : kKinds) {
    if (syntax.name != name) continue;
    Waveform wave;
    wave.kind = syntax.kind;
    int count = 0;
    std::string_view rest = text.substr(colon + 1);
    while (true) {
      const size_t comma = rest.find(',');
      const std::optional<double> value = base::ParseNumber(rest.substr(0, comma));
      if (!value || count == syntax.allowed) return std::nullopt;
      wave.p[count++] = *value;
      if (comma == std::string_view::npos) break;
      rest = rest.substr(comma + 1);
    }
    if (count < syntax.required) return std::nullopt;
    // Periods must be positive to divide by.
    if ((wave.kind == Waveform::Kind::Sine && !(wave.p[1] > 0)) ||
        (wave.kind == Waveform::Kind::Square && !(wave.p[2] > 0)))
      return std::nullopt;
    return wave;
  }
  return std::nullopt;
}

}  // namespace tessaly::sim
