// The catalogue's algorithms that come from the cryptographic library, behind our own
// interfaces. Each factory returns an unkeyed cipher whose SetKey applies its row's key rule
// (padding, Triple DES layout, rounds, effective key length).
#pragma once

#include "crypto/BlockCipher.h"

#include <memory>

namespace partsmith {

class HashAlgorithm;

std::unique_ptr<BlockCipher> MakeBlowfish();
std::unique_ptr<BlockCipher> MakeCast128();
std::unique_ptr<BlockCipher> MakeCast256();
std::unique_ptr<BlockCipher> MakeDes();
std::unique_ptr<BlockCipher> MakeTripleDes();
std::unique_ptr<BlockCipher> MakeIdea();
std::unique_ptr<BlockCipher> MakeRc2();
std::unique_ptr<BlockCipher> MakeRc5();
std::unique_ptr<BlockCipher> MakeRijndael();
std::unique_ptr<BlockCipher> MakeSerpent();
std::unique_ptr<BlockCipher> MakeTwofish();

// Stateless hash objects that live for the whole program.
const HashAlgorithm& Md4Hash();
const HashAlgorithm& Md5Hash();
const HashAlgorithm& Ripemd128Hash();
const HashAlgorithm& Ripemd160Hash();
const HashAlgorithm& Sha1Hash();
const HashAlgorithm& Sha256Hash();
const HashAlgorithm& Sha384Hash();
const HashAlgorithm& Sha512Hash();
const HashAlgorithm& TigerHash();

} // namespace partsmith
