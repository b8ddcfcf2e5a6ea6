#include <iostream>

int main() {
    std::cout << "partsmith-cli " PARTSMITH_VERSION "\n";
    return 0;
}
