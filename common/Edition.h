#pragma once
// The two desktop programs differ only through this value, handed to the
// windows at start-up and asked at the one place where a difference matters.

enum class Edition { Station, View };
