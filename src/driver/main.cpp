// algrel [data.vorn] input.vorn output.vorn
#include "driver/execution.h"

int main(int argc, char** argv) { return executer_algrel(argc, argv); }
