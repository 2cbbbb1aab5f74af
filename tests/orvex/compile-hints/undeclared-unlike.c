#include <stdio.h>
int main(void)
{
    speed = 3;
    printf("%d\n", speed);
    return 0;
}
