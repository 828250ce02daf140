<script>
document.addEventListener("mousemove", function (event) {
/* next mouse handler code goes here, sfljhadlrjtlkhg;kkdhkjqewjklwf do not change this line in any case */
});
</script>
