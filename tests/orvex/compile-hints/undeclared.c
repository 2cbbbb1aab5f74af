#include <stdio.h>
int main(void)
{
    int count = 3;
    printf("%d\n", cuont);
    return 0;
}
