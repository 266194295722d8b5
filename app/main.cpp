// Tallaro: a counter-side cash tally. Start-up is in app/startup.cpp.

#include "app/startup.h"

int main(int argc, char** argv) { return tallaro::run_program(argc, argv); }
