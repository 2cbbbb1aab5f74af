#include <stdio.h>

void greet(void)
{
    for (int i = 0; i < 3; i++) {
        if (i == 1) {
            puts("hi");
    }
}

int main(void)
{
    greet();
    return 0;
}
