#include <stdio.h>
int main(void)
{
    prinft("hello\n");
    return 0;
}
