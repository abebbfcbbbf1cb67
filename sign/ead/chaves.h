// The signing key of every file the printer library generates, as the two
// key texts the program holds (sChaveAssinatura1/2) and hands to the library
// and to validateFile: 256 upper-case hexadecimal digits each.
//
// A 1024-bit RSA key pair with public exponent 65537, generated once for
// this program.  The first text is the modulus (all a verifier needs, with
// the exponent 65537); the second is the private exponent.
#pragma once

namespace ead {

inline constexpr char kChave1[] =
    "B264EFC2B06E8E6193EFD88E8EAC5453F56E92573F3228EAB99CF7D83E23AD66"
    "C2367E8566503FE3696B2923207E0872717001647A2D59EC40E6A201A237C5F6"
    "AFAFD0096FD3AF4E269AA9EA48BF3CBEF3518E6C17A8226ED5B0DAC9656106DD"
    "72FE05F2ABA324A53607D12EAE710E7A41763ADC303A17ECCA69A6F5F8F8509F";

inline constexpr char kChave2[] =
    "89472339AE8B6505B1D1DFD3D3F6C8EDD2F043ACDFF4B987E74DE36B8465F00A"
    "2369CBF2DBC8E5611ABE5BE9AC175068C0E2702FE1D5045DC993B11790BD5A98"
    "31AB8F9F00E5B4EFDFDA84A76707300EA3080900991B70254C2704E69D06B626"
    "29164913984FD7A0B1CAB39E15D0BF9FDD79B12A2A9F441FC57CB8426B0E3001";

}  // namespace ead
