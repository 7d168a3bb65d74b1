#include "Bench.h"

#include <stdio.h>

bool BenchPagePaint() {
    printf("P1 page paint: not measured yet\n");
    return true;
}
