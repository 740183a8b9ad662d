#include "adif/adif_file.h"
#include <fstream>
bool AppendAdifRecord(const std::string& path, const LoggedContact& contact, std::string_view, std::string& reason) {
  std::ofstream f(path, std::ios::app); if (!f) { reason = "cannot open"; return false; }
  f << "<CALL:" << contact.Call.size() << ">" << contact.Call << " <EOR>\n"; return true;
}
