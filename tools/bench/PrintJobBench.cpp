#include "Bench.h"

#include <stdio.h>

bool BenchPrintJob() {
    printf("P2 maintenance print: not measured yet\n");
    return true;
}
