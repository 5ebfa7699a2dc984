// The entry point. The arguments are ignored; everything happens in runApplication.
#include "Application.h"

int main(int, char**)
{
	return runApplication();
}
