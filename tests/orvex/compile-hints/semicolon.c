#include <stdio.h>
int main(void)
{
    int x = 3
    /* the answer */

    printf("%d\n", x);
    return 0;
}
