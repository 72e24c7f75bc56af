#include "platform/ui/programs.h"

#include <unistd.h>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <cctype>
#include <cstdlib>
#include <map>

#include "platform/ui/windows.h"

namespace ui_programs {
namespace {

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string base_name(const std::string& program) {
  const std::size_t slash = program.find_last_of("/\\");
  return slash == std::string::npos ? program : program.substr(slash + 1);
}

std::map<std::string, StandIn>& stand_ins() {
  static std::map<std::string, StandIn> table;
  return table;
}

}  // namespace

// The command line after its first word (which may be quoted), blanks trimmed.
std::string arguments_of(const std::string& line) {
  std::size_t at = line.find_first_not_of(" \t");
  if (at == std::string::npos) return "";
  at = line[at] == '"' ? line.find('"', at + 1) : line.find_first_of(" \t", at);
  if (at == std::string::npos) return "";
  const std::size_t first = line.find_first_not_of(" \t", at + 1);
  if (first == std::string::npos) return "";
  return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

void register_stand_in(const std::string& program, StandIn run) { stand_ins()[lower(base_name(program))] = run; }

bool installed(const std::string& program) {
  if (program.empty()) return false;
  if (program.find('/') != std::string::npos) return ::access(program.c_str(), X_OK) == 0;
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "";
  for (std::size_t from = 0; from <= folders.size();) {
    std::size_t end = folders.find(':', from);
    if (end == std::string::npos) end = folders.size();
    const std::string folder = end > from ? folders.substr(from, end - from) : ".";
    if (::access((folder + "/" + program).c_str(), X_OK) == 0) return true;
    from = end + 1;
  }
  return false;
}

}  // namespace ui_programs

UINT WinExec(LPCSTR command_line, UINT show) {
  if (command_line == nullptr) return 0;
  const QStringList words = QProcess::splitCommand(QString::fromLocal8Bit(command_line));
  if (words.isEmpty()) return 0;
  const std::string program = words.front().toLocal8Bit().toStdString();
  const auto& table = ui_programs::stand_ins();
  if (auto it = table.find(ui_programs::lower(ui_programs::base_name(program))); it != table.end()) {
    it->second(ui_programs::arguments_of(command_line), show);
    return 33;
  }
  if (!ui_programs::installed(program)) return ERROR_FILE_NOT_FOUND;
  return QProcess::startDetached(words.front(), words.mid(1)) ? 33 : ERROR_FILE_NOT_FOUND;
}
