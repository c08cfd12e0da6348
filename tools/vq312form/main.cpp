// vq312form: overlay form files on the command line.
//   vq312form info FILE
//   vq312form thumbnail FILE OUT.bmp
//   vq312form make OUT.ofe [options]     (options: see RunFormMake)
#include <iostream>
#include <string>
#include <vector>

#include "tools/form/form_tool.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 2 && args[0] == "info") return vq::RunFormInfo(args[1], std::cout);
  if (args.size() == 3 && args[0] == "thumbnail") {
    return vq::RunFormThumbnail(args[1], args[2], std::cout);
  }
  if (args.size() >= 2 && args[0] == "make") {
    return vq::RunFormMake(args[1], std::vector<std::string>(args.begin() + 2, args.end()),
                           std::cout);
  }
  std::cerr << "usage: vq312form info FILE\n"
               "       vq312form thumbnail FILE OUT.bmp\n"
               "       vq312form make OUT.ofe [--pattern bars|label|checker|rule] [--width DOTS]\n"
               "                 [--height LINES] [--mode 0|1|2|4] [--version 2|3] [--dpi N]\n"
               "                 [--kind N] [--pages N] [--light] [--header] [--long-lines]\n"
               "                 [--no-blank-commands] [--skipped-commands]\n";
  return 2;
}
