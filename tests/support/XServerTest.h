// A test fixture whose engine device opens its window in a private X server of the fixture's own:
// XServerTest<Base> starts the server and makes it the current display before Base's SetUp makes
// the device.
#ifndef ZARNEL_TEST_X_SERVER_TEST_H
#define ZARNEL_TEST_X_SERVER_TEST_H

#include "PrivateXServer.h"
#include <gtest/gtest.h>

template <class Base> class XServerTest : public Base
{
protected:
	void SetUp() override
	{
		ASSERT_TRUE(x.ok());
		x.makeCurrent();
		Base::SetUp();
	}

	PrivateXServer x;
};

#endif
