#include <stdio.h>
int main(void)
{
    int total = 0;
    for (int i = 0; i < 3; i++) {
        total += i
        // and the next
    }
    printf("%d\n", total)
}
