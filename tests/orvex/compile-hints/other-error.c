#include <stdio.h>
int main(void)
{
    int x[3] = {1, 2, 3};
    x = 4;
    printf("%d\n", x[0]);
    return 0;
}
