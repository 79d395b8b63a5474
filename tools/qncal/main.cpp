// qncal: a month calendar with the Chinese lunar calendar, for the terminal.
#include "tools/qncal/QnCal.h"

#include <cstdlib>
#include <iostream>
#include <unistd.h>

int main(int argc, char* argv[])
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    qncal::RunOptions options;
    options.highlightToday = isatty(STDOUT_FILENO) != 0 && std::getenv("NO_COLOR") == nullptr;
    const int status = qncal::RunQnCal(args, std::cout, std::cerr, qn::SystemNow, options);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "qncal: 结果写不出去\n";
        return qncal::ExitOutputFailed;
    }
    return status;
}
