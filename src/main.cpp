#include <memory>
#include <string>
#include <vector>

#include "app/GameApp.h"
#include "platform/Platform.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv, argv + argc);
  auto app = std::make_unique<vorlith::GameApp>(vorlith::CreateSdlPlatform(), args);
  return app->Run();
}
