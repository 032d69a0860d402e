// algrel [data.vorn] input.vorn output.vorn | algrel --help | algrel --version
#include "driver/execution.h"

int main(int argc, char** argv) { return executer_algrel(argc, argv); }
