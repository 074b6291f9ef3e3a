// tessaly-cli print FILE (--page K | --first S --count N) --document list|graph
// [--part-first S --part-end E --part-interval P] [paging options] [--lang zh|en]
// --json: the pages of the printed part list or part graph as display lists.
// The part window is the one the graph page sets after the load (its band
// over the middle tenth), unless all three part options give it.
#include <cstdio>

#include "analysis/graph_fill.h"
#include "commands.h"
#include "json.h"
#include "output/print_pages.h"
#include "viewer_session.h"

namespace tessaly::cli {
namespace {

constexpr const char* kWindowOptions[] = {"--part-first", "--part-end", "--part-interval"};

std::string Colour(uint32_t bgr) {
  return base::Format("\"#%02x%02x%02x\"", bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

std::string Box(int x1, int y1, int x2, int y2) {
  return base::Format("\"x1\": %d, \"y1\": %d, \"x2\": %d, \"y2\": %d", x1, y1, x2, y2);
}

template <typename T, typename Write>
void List(std::string& json, const std::vector<T>& items, Write&& write) {
  json += "[";
  for (size_t i = 0; i < items.size(); ++i) {
    json += i ? ",\n      " : "\n      ";
    write(items[i]);
  }
  json += items.empty() ? "]" : "\n    ]";
}

void PageJson(const output::PrintPage& page, std::string& json) {
  json += "{\n    \"texts\": ";
  List(json, page.texts, [&](const output::PrintText& t) {
    json += base::Format("{\"x\": %d, \"y\": %d, \"pt\": %d, \"text\": ", t.x, t.y, t.points);
    json += JsonString(t.text) + "}";
  });
  json += ",\n    \"lines\": ";
  List(json, page.lines,
       [&](const output::PrintLine& l) { json += base::Format("[%d, %d, %d, %d]", l.x1, l.y1, l.x2, l.y2); });
  json += ",\n    \"rects\": ";
  List(json, page.rects, [&](const output::PrintRect& r) {
    json += "{" + Box(r.x1, r.y1, r.x2, r.y2) + ", \"color\": " + Colour(r.colour) + "}";
  });
  json += ",\n    \"picture\": ";
  json += page.picture ? "{" + Box(page.picture->x1, page.picture->y1, page.picture->x2, page.picture->y2) + "}"
                       : std::string("null");
  json += "\n  }";
}

}  // namespace

std::span<const base::OptionSpec> PrintOptions() {
  using base::TextId;
  static const std::vector<base::OptionSpec> options =
      ViewerOptions({{.name = "--json", .takesValue = false, .help = TextId::HelpOptJson},
                     {.name = "--document", .value = "list|graph", .help = TextId::HelpOptDocument},
                     {.name = "--part-first", .value = "S", .help = TextId::HelpOptPartFirst},
                     {.name = "--part-end", .value = "E", .help = TextId::HelpOptPartEnd},
                     {.name = "--part-interval", .value = "P", .help = TextId::HelpOptPartInterval}},
                    true);
  return options;
}

int RunPrint(const std::vector<std::string>& args) {
  ViewerSession session;
  if (!session.Parse(args, PrintOptions())) return kUsageStatus;
  const base::CommandLine& line = session.line();
  const int language = session.language();
  base::ArgError error;
  if (!line.Require("--json", error) || !line.Require("--document", error)) return Fail(error, language);
  const std::string& document = *line.Value("--document");
  if (document != "list" && document != "graph")
    return Fail({base::TextId::ArgBadValue, "--document " + document}, language);
  int given = 0;
  for (const char* name : kWindowOptions) given += line.Has(name) ? 1 : 0;
  if (given != 0 && given != 3) return Fail(Message(base::TextId::CliPrintBadWindow, language), kUsageStatus);
  uint32_t partFirst = 0, partEnd = 0;
  int32_t partInterval = 1;
  if (!line.Integer<uint32_t>("--part-first", 0, UINT32_MAX, partFirst, error) ||
      !line.Integer<uint32_t>("--part-end", 0, UINT32_MAX, partEnd, error) ||
      !line.Integer<int32_t>("--part-interval", 1, INT32_MAX, partInterval, error))
    return Fail(error, language);
  if (const int status = session.Open()) return status;
  if (const int status = session.LoadRange()) return status;

  recorder::CRecorderData& data = session.data();
  if (given == 3) {
    data.partFirst = partFirst;
    data.partEnd = partEnd;
    data.partGraphInterval = partInterval;
  } else {
    analysis::PlaceWindowBand(data, analysis::SetAllGraphInterval(data));
  }
  const output::PrintKind kind = document == "graph" ? output::PrintKind::Graph : output::PrintKind::List;
  const output::PrintInput input = output::ViewerPrintInput(data, kind, output::PrintTimeNow());

  std::string json = "{\"pages\": [";
  const uint32_t pages = output::PrintPageCount(input);
  for (uint32_t p = 1; p <= pages; ++p) {
    json += p > 1 ? ", " : "\n  ";
    PageJson(output::ComposePrintPage(input, p), json);
  }
  json += "\n]}\n";
  if (std::fwrite(json.data(), 1, json.size(), stdout) != json.size() || std::fflush(stdout) != 0)
    return Fail(Message(base::TextId::WriteFailed, language, "stdout"));
  return 0;
}

}  // namespace tessaly::cli
