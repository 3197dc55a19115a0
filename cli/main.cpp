#include <cstdio>

int main() {
    std::puts("varnex-cli: the command-line front end is not built yet.");
    return 0;
}
