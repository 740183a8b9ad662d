#include "sim_import.h"

#include "adif/adif_file.h"
#include "adif/adif_reader.h"
#include "adif/adif_record.h"
#include "core/file_path.h"
#include "sim_options.h"

bool ImportAdifFile(const std::filesystem::path& source, const std::filesystem::path& log_path,
                    const std::function<void(const std::string&)>& report, std::string& reason) {
  AdifFile file;
  if (!ReadAdifFile(source, file, reason)) {
    reason = "cannot import " + Utf8FromPath(source) + " (" + reason + ")";
    return false;
  }
  for (std::size_t i = 0; i < file.Records.size(); ++i) {
    const AdifFields& record = file.Records[i];
    std::string why_not;
    const auto contact = ContactFromAdif(record, why_not);
    if (!contact) {
      report("skipped record " + std::to_string(i + 1) + " (" + why_not + ")");
      continue;
    }
    if (!AppendAdifRecord(log_path, *contact, kSimProgramId, reason)) {
      reason = "cannot write the ADIF log " + Utf8FromPath(log_path) + " (" + reason + ")";
      return false;
    }
    std::string line = "imported " + contact->Call + " " + record.at("QSO_DATE") + " " + record.at("TIME_ON");
    if (!contact->Mode.empty()) line += " " + contact->Mode;
    report(line);
  }
  return true;
}
