#include "app/process_startup.h"

int main() {
  return app::RunProgram();
}
