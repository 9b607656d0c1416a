#include "link/PortMap.h"

#include <gtest/gtest.h>

#include <QtGlobal>

TEST(PortMap, VariableListsPathsInOrder)
{
    EXPECT_EQ(PortMap::FromVariable("/tmp/a:/dev/ttyS0::/tmp/b:"), (QStringList{"/tmp/a", "/dev/ttyS0", "/tmp/b"}));
    qputenv("PX510_PORTS", "/tmp/one:/tmp/two");
    EXPECT_EQ(PortMap::PathOf(2), "/tmp/two");
    EXPECT_TRUE(PortMap::PathOf(3).isEmpty());
    EXPECT_TRUE(PortMap::PathOf(0).isEmpty());
    qunsetenv("PX510_PORTS");
}

TEST(PortMap, UsbAdaptersComeBeforeBuiltInPorts)
{
    const QList<PortMap::SystemPort> listed = {
        {"/dev/ttyS1", false}, {"/dev/ttyUSB1", true}, {"/dev/ttyS0", false}, {"/dev/ttyACM0", true}};
    EXPECT_EQ(PortMap::FromSystemPorts(listed),
              (QStringList{"/dev/ttyACM0", "/dev/ttyUSB1", "/dev/ttyS0", "/dev/ttyS1"}));
}
