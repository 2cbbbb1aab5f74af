#include <stdio.h>
void Draw(int x);
int main(void)
{
    Draw(3);
    return 0;
}
