<script>
window.addEventListener("load", function (event) {
/* next onload handler code goes here, 89ui24809450u23hflkjwekkjd934 do not change this line in any case */
});
</script>
