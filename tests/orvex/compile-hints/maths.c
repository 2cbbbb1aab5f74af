#include <stdio.h>
int main(void)
{
    double r = sqrt(2.0);
    printf("%f\n", r);
    return 0;
}
