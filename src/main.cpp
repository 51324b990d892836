#include <iostream>

// The demonstration program is not built yet.
int main() {
  std::cout << "vantor: the demonstration is not built yet" << std::endl;
  return 0;
}
