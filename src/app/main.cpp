// Program entry; the program itself is in application.cpp.
#include "app/application.h"

int main(int argc, char** argv) {
  return zel::RunApplication(argc, argv);
}
