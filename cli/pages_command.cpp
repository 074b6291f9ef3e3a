// tessaly-cli pages FILE [paging options] [--lang zh|en]: the page index the
// viewer lists, one "first<TAB>count<TAB>label" line per page.
#include <cstdio>

#include "commands.h"
#include "viewer_session.h"

namespace tessaly::cli {

std::span<const base::OptionSpec> PagesOptions() {
  static const std::vector<base::OptionSpec> options = ViewerOptions({}, false);
  return options;
}

int RunPages(const std::vector<std::string>& args) {
  ViewerSession session;
  if (!session.Parse(args, PagesOptions())) return kUsageStatus;
  if (const int status = session.Open()) return status;
  std::string text;
  for (const record::PageEntry& page : session.data().pages)
    text += base::Format("%u\t%u\t%s\n", page.firstSector, page.sectorCount, page.label.c_str());
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
    return Fail(Message(base::TextId::WriteFailed, session.language(), "stdout"));
  return 0;
}

}  // namespace tessaly::cli
