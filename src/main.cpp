#include "ui/application.h"

int main(int argc, char **argv)
{
    return kurubako::runApplication(argc, argv);
}
