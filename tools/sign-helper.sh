#!/usr/bin/env bash
# The files of the signature tests, made from the test helper: a throw-away
# certificate authority (test-ca.cer, DER), the helper signed by a signer it
# issued ("Orvex Test Signer"), the signed copy with one byte of its code
# changed, and the SHA-256 of each as sha256sum gives it (sha256.txt).
# Usage: tools/sign-helper.sh HELPER.exe OUTDIR
set -euo pipefail
helper=$1
out=$2
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
quiet() { "$@" >"$tmp/log" 2>&1 || { cat "$tmp/log" >&2; return 1; }; }

quiet openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 3650 -keyout "$tmp/ca.key" -out "$tmp/ca.pem" \
  -subj "/CN=Orvex Test Root" -addext "basicConstraints=critical,CA:TRUE" \
  -addext "keyUsage=critical,keyCertSign,cRLSign"
quiet openssl req -newkey rsa:2048 -nodes -sha256 -keyout "$tmp/signer.key" -out "$tmp/signer.csr" \
  -subj "/CN=Orvex Test Signer/O=Orvex Tests"
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >"$tmp/ext"
quiet openssl x509 -req -sha256 -days 3650 -in "$tmp/signer.csr" -CA "$tmp/ca.pem" -CAkey "$tmp/ca.key" \
  -CAcreateserial -extfile "$tmp/ext" -out "$tmp/signer.pem"
cat "$tmp/signer.pem" "$tmp/ca.pem" >"$tmp/chain.pem"
rm -f "$out/orvex_helper_signed.exe"
quiet osslsigncode sign -certs "$tmp/chain.pem" -key "$tmp/signer.key" -h sha256 -n "Orvex test helper" \
  -in "$helper" -out "$out/orvex_helper_signed.exe"
quiet openssl x509 -in "$tmp/ca.pem" -outform DER -out "$out/test-ca.cer"

# One byte of the first section (its raw data starts at the file alignment,
# 0x200 or more, for these programs) inverted: the signature no longer
# matches, the file is otherwise the same.
cp "$out/orvex_helper_signed.exe" "$out/orvex_helper_tampered.exe"
offset=$((0x600))
byte=$(od -An -tu1 -j "$offset" -N1 "$out/orvex_helper_tampered.exe" | tr -d ' ')
printf "$(printf '\\%03o' $((byte ^ 0xFF)))" |
  dd of="$out/orvex_helper_tampered.exe" bs=1 seek="$offset" conv=notrunc status=none

cp "$helper" "$out/orvex_helper_unsigned.exe"
(cd "$out" && sha256sum orvex_helper_signed.exe orvex_helper_tampered.exe orvex_helper_unsigned.exe >sha256.txt)
