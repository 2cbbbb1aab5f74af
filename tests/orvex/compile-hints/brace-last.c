#include <stdio.h>
int main(void)
{
    puts("hi"); /* } */
    return 0;
