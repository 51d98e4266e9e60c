// Included in linterp.js for binding.cpp's calls into the page: a text of the
// module's memory as a JavaScript string, unit for unit, lone surrogates
// kept, in slices that any length of text can pass through.
function pageString(units, length) {
    let text = "";
    for (let i = 0; i < length; i += 8192) {
        const end = Math.min(length, i + 8192);
        text += String.fromCharCode.apply(null, HEAPU16.subarray((units >> 1) + i, (units >> 1) + end));
    }
    return text;
}
