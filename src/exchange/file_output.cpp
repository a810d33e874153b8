#include "exchange/file_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace zel {
namespace {

std::string Cause(int error) {
  return error != 0 ? std::strerror(error) : "ошибка ввода-вывода";
}

}  // namespace

std::string CannotOpenMessage(std::string_view fileName) {
  return "Не удалось открыть файл " + std::string(fileName) + " - Снимите защиту от записи!";
}

bool WriteExchangeFile(const std::string& path, std::string_view bytes,
                       CreateFailureReport onCreateFailure, Prompts& prompts) {
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    if (onCreateFailure == CreateFailureReport::AskToUnprotect) {
      prompts.Message(CannotOpenMessage(path));
    } else {
      prompts.Error("Не удалось создать файл " + path + ": " + Cause(errno));
    }
    return false;
  }
  errno = 0;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int writeErrno = errno;
  const bool closed = std::fclose(file) == 0;
  if (written && closed) return true;
  prompts.Error("Ошибка записи в файл " + path + ": " + Cause(written ? errno : writeErrno));
  return false;
}

}  // namespace zel
